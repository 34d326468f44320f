#include "framework/ui/ListCtrl.h"

#include "framework/ui/DC.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/Gdi.h"
#include "framework/ui/ImageList.h"
#include "framework/ui/WndInternal.h"

#include <QEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <set>

namespace {

constexpr int kDataRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kFormatRole = Qt::UserRole + 2;
constexpr int kKnownCheckRole = Qt::UserRole + 3; // the check state last reported to the parent

QString ToQ(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
std::string FromQ(const QString& s) {
    return s.toUtf8().toStdString();
}

LOGFONT LogFontOf(const QFont& font) {
    LOGFONT lf;
    lf.lfHeight = -(font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize());
    lf.lfWeight = font.weight();
    lf.lfItalic = font.italic();
    lf.lfUnderline = font.underline();
    lf.lfStrikeOut = font.strikeOut();
    const std::string face = FromQ(font.family()).substr(0, LF_FACESIZE - 1);
    std::strncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return lf;
}

class ListViewWidget;

class ListDelegate : public QStyledItemDelegate {
public:
    ListDelegate(QTableWidget* owner, ListViewWidget* list) : QStyledItemDelegate(owner), list_(list) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // The style's option for a cell at its rectangle (view coordinates).
    QStyleOptionViewItem CellOption(const QModelIndex& index, const QRect& cell) const;
    // Where a cell's check box goes (first column of a list with check boxes), and where its text
    // goes: after the check box and the small image, inside the cell's margins. Painting and
    // CListCtrl::GetCellTextRect both take them from here.
    QRect CheckRect(const QStyleOptionViewItem& option) const;
    QRect TextRect(const QStyleOptionViewItem& option, const QModelIndex& index) const;

private:
    ListViewWidget* list_;
};

// The widget and everything the control knows.
class ListViewWidget : public QTableWidget {
public:
    explicit ListViewWidget(QWidget* parent) : QTableWidget(parent), header_(this) {
        setItemDelegate(new ListDelegate(this, this));
        verticalHeader()->hide();
        horizontalHeader()->setSectionsClickable(true);
        horizontalHeader()->setHighlightSections(false);
        horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        horizontalHeader()->setStretchLastSection(false);
        setSelectionBehavior(QAbstractItemView::SelectRows);
        setSelectionMode(QAbstractItemView::ExtendedSelection);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setShowGrid(false);
        setWordWrap(false);
        setMouseTracking(true);
        setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
        UpdateRowHeight();

        connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this](const QItemSelection& selected, const QItemSelection& deselected) {
                    std::set<int> rows;
                    for (const QModelIndex& i : selected.indexes())
                        rows.insert(i.row());
                    for (const QModelIndex& i : deselected.indexes())
                        rows.insert(i.row());
                    for (int row : rows)
                        NotifyStateChange(row, LVIS_SELECTED, !IsRowSelected(row));
                });
        connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
                [this](const QModelIndex& current, const QModelIndex& previous) {
                    if (previous.isValid() && previous.row() != current.row())
                        NotifyStateChange(previous.row(), LVIS_FOCUSED, true);
                    if (current.isValid() && previous.row() != current.row())
                        NotifyStateChange(current.row(), LVIS_FOCUSED, false);
                });
        connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
            // Only a change of the check box counts; text changes come through SetItemText.
            if (quiet_ || item->column() != 0 || !checkBoxes_)
                return;
            const bool checked = item->checkState() == Qt::Checked;
            if (item->data(kKnownCheckRole).toBool() == checked)
                return;
            SetKnownCheck(item, checked);
            NMLISTVIEW nm;
            nm.iItem = item->row();
            nm.uChanged = LVIF_STATE;
            nm.uNewState = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
            nm.uOldState = INDEXTOSTATEIMAGEMASK(checked ? 1 : 2);
            nm.lParam = static_cast<LPARAM>(item->data(kDataRole).toULongLong());
            Notify(LVN_ITEMCHANGED, &nm.hdr);
        });
        connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
            NMLISTVIEW nm;
            nm.iSubItem = section;
            Notify(LVN_COLUMNCLICK, &nm.hdr);
        });
        connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section, int, int) {
            if (headerPressed_)
                trackedSection_ = section;
        });
        horizontalHeader()->viewport()->installEventFilter(this);
        viewport()->installEventFilter(this);
        connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this](int action) {
            UINT code = SB_ENDSCROLL;
            switch (action) {
            case QAbstractSlider::SliderSingleStepAdd:
                code = SB_LINEDOWN;
                break;
            case QAbstractSlider::SliderSingleStepSub:
                code = SB_LINEUP;
                break;
            case QAbstractSlider::SliderPageStepAdd:
                code = SB_PAGEDOWN;
                break;
            case QAbstractSlider::SliderPageStepSub:
                code = SB_PAGEUP;
                break;
            case QAbstractSlider::SliderMove:
                code = SB_THUMBTRACK;
                break;
            case QAbstractSlider::SliderToMinimum:
                code = SB_TOP;
                break;
            case QAbstractSlider::SliderToMaximum:
                code = SB_BOTTOM;
                break;
            default:
                break;
            }
            if (CWnd* self = Self())
                self->SendMessage(WM_VSCROLL, MAKEWPARAM(code, verticalScrollBar()->sliderPosition()), 0);
        });
    }

    CWnd* Self() const { return CWnd::FromWidget(this); }

    LRESULT Notify(UINT code, NMHDR* header) {
        CWnd* self = Self();
        if (!self)
            return 0;
        header->hwndFrom = self->GetSafeHwnd();
        header->idFrom = static_cast<UINT_PTR>(self->GetDlgCtrlID());
        header->code = code;
        return self->NotifyParent(header);
    }

    bool IsRowSelected(int row) const {
        if (painting_) {
            auto it = paintSelected_.find(row);
            if (it != paintSelected_.end())
                return it->second;
        }
        return selectionModel()->isRowSelected(row, QModelIndex());
    }

    void NotifyStateChange(int row, UINT bit, bool wasSet) {
        if (quiet_ || row < 0 || row >= rowCount())
            return;
        NMLISTVIEW nm;
        nm.iItem = row;
        nm.uChanged = LVIF_STATE;
        const UINT now = StateOf(row);
        nm.uNewState = now;
        nm.uOldState = wasSet ? (now | bit) : (now & ~bit);
        if (nm.uNewState == nm.uOldState)
            return;
        nm.lParam = DataOf(row);
        Notify(LVN_ITEMCHANGED, &nm.hdr);
    }

    UINT StateOf(int row) const {
        UINT state = 0;
        if (IsRowSelected(row))
            state |= LVIS_SELECTED;
        if (currentIndex().isValid() && currentIndex().row() == row)
            state |= LVIS_FOCUSED;
        if (checkBoxes_)
            if (QTableWidgetItem* it = item(row, 0))
                state |= INDEXTOSTATEIMAGEMASK(it->checkState() == Qt::Checked ? 2 : 1);
        return state;
    }

    LPARAM DataOf(int row) const {
        QTableWidgetItem* it = item(row, 0);
        return it ? static_cast<LPARAM>(it->data(kDataRole).toULongLong()) : 0;
    }

    QTableWidgetItem* Cell(int row, int column) {
        QTableWidgetItem* it = item(row, column);
        if (!it && row >= 0 && row < rowCount() && column >= 0 && column < columnCount()) {
            it = new QTableWidgetItem;
            it->setData(kImageRole, -1);
            ++quiet_;
            setItem(row, column, it);
            --quiet_;
        }
        return it;
    }

    void SetKnownCheck(QTableWidgetItem* item, bool checked) {
        ++quiet_;
        item->setData(kKnownCheckRole, checked);
        --quiet_;
    }

    void SetCheckBoxes(bool on) {
        checkBoxes_ = on;
        ++quiet_;
        for (int r = 0; r < rowCount(); ++r)
            if (QTableWidgetItem* it = Cell(r, 0)) {
                if (on) {
                    it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
                    it->setCheckState(Qt::Unchecked);
                } else {
                    it->setFlags(it->flags() & ~Qt::ItemIsUserCheckable);
                    it->setData(Qt::CheckStateRole, QVariant());
                }
                it->setData(kKnownCheckRole, false);
            }
        --quiet_;
    }

    void PrepareRow(int row) {
        for (int c = 0; c < columnCount(); ++c)
            Cell(row, c);
        if (checkBoxes_) {
            ++quiet_;
            QTableWidgetItem* it = Cell(row, 0);
            it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
            it->setCheckState(Qt::Unchecked);
            it->setData(kKnownCheckRole, false);
            --quiet_;
        }
    }

    void UpdateRowHeight() {
        int height = QFontMetrics(font()).height() + 4;
        if (smallImages_)
            height = std::max(height, smallImages_->GetImageSize().cy + 1);
        verticalHeader()->setMinimumSectionSize(1);
        verticalHeader()->setDefaultSectionSize(height);
        verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    }

    // The viewport's origin in the control's client coordinates.
    QPoint ViewportOffset() const { return viewport()->geometry().topLeft(); }

    // ---- custom draw, one paint pass at a time
    void paintEvent(QPaintEvent* event) override {
        BeginPass();
        QTableWidget::paintEvent(event);
        EndPass();
    }

    void BeginPass() {
        painting_ = true;
        paintSelected_.clear();
        currentRow_ = -1;
        baseFont_.CreateFontIndirect(&(baseLogFont_ = LogFontOf(font())));
        dc_ = std::make_unique<CDC>();
        dc_->CreateCompatibleDC(nullptr);
        dc_->SelectObject(&baseFont_);
        NMLVCUSTOMDRAW nm;
        nm.nmcd.dwDrawStage = CDDS_PREPAINT;
        nm.nmcd.hdc = dc_.get();
        nm.nmcd.rc = CRect(0, 0, width(), height());
        passResult_ = Notify(NM_CUSTOMDRAW, &nm.nmcd.hdr);
    }

    void FinishRow() {
        if (currentRow_ >= 0 && (itemResult_ & CDRF_NOTIFYPOSTPAINT)) {
            NMLVCUSTOMDRAW nm = RowRecord(currentRow_, CDDS_ITEMPOSTPAINT);
            Notify(NM_CUSTOMDRAW, &nm.nmcd.hdr);
        }
        currentRow_ = -1;
    }

    void EndPass() {
        FinishRow();
        if (passResult_ & CDRF_NOTIFYPOSTPAINT) {
            NMLVCUSTOMDRAW nm;
            nm.nmcd.dwDrawStage = CDDS_POSTPAINT;
            nm.nmcd.hdc = dc_.get();
            Notify(NM_CUSTOMDRAW, &nm.nmcd.hdr);
        }
        painting_ = false;
        paintSelected_.clear();
        dc_.reset();
    }

    NMLVCUSTOMDRAW RowRecord(int row, DWORD stage) {
        NMLVCUSTOMDRAW nm;
        nm.nmcd.dwDrawStage = stage;
        nm.nmcd.hdc = dc_.get();
        nm.nmcd.dwItemSpec = static_cast<std::uintptr_t>(row);
        nm.nmcd.uItemState = (IsRowSelected(row) ? UINT(CDIS_SELECTED) : 0u) |
                             (currentIndex().row() == row && hasFocus() ? UINT(CDIS_FOCUS) : 0u);
        nm.nmcd.lItemlParam = DataOf(row);
        QRect r = visualRect(model()->index(row, 0)).translated(ViewportOffset());
        nm.nmcd.rc = CRect(0, r.top(), width(), r.top() + r.height());
        nm.clrText = textColour_;
        nm.clrTextBk = textBkColour_;
        return nm;
    }

    struct CellLook {
        COLORREF text;
        COLORREF back;
        QFont font;
        bool skip = false;
    };

    // Runs the item and sub-item stages for one cell and returns how it is to be painted.
    CellLook StagesFor(int row, int column, const QRect& cellRect) {
        CellLook look{textColour_, textBkColour_, font()};
        if (!painting_ || !dc_)
            return look;
        const bool itemDraw = (passResult_ & CDRF_NOTIFYITEMDRAW) != 0;
        if (row != currentRow_) {
            FinishRow();
            currentRow_ = row;
            itemResult_ = 0;
            itemText_ = textColour_;
            itemBack_ = textBkColour_;
            itemFont_ = font();
            if (itemDraw) {
                NMLVCUSTOMDRAW nm = RowRecord(row, CDDS_ITEMPREPAINT);
                itemResult_ = Notify(NM_CUSTOMDRAW, &nm.nmcd.hdr);
                itemText_ = nm.clrText;
                itemBack_ = nm.clrTextBk;
                if ((itemResult_ & CDRF_NEWFONT) && dc_->GetCurrentFont())
                    itemFont_ = dc_->CurrentQFont();
            }
        }
        look = {itemText_, itemBack_, itemFont_, (itemResult_ & CDRF_SKIPDEFAULT) != 0};
        if (itemDraw && (itemResult_ & CDRF_NOTIFYSUBITEMDRAW)) {
            NMLVCUSTOMDRAW nm = RowRecord(row, CDDS_ITEMPREPAINT | CDDS_SUBITEM);
            nm.iSubItem = column;
            nm.clrText = itemText_;
            nm.clrTextBk = itemBack_;
            const QRect r = cellRect.translated(ViewportOffset());
            nm.nmcd.rc = CRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
            const LRESULT result = Notify(NM_CUSTOMDRAW, &nm.nmcd.hdr);
            look.text = nm.clrText;
            look.back = nm.clrTextBk;
            look.font = (result & CDRF_NEWFONT) ? dc_->CurrentQFont() : itemFont_;
            look.skip = (result & CDRF_SKIPDEFAULT) != 0;
            subResult_ = result;
        } else {
            subResult_ = 0;
        }
        return look;
    }

    void AfterCell(int row, int column) {
        if (painting_ && (subResult_ & CDRF_NOTIFYPOSTPAINT)) {
            NMLVCUSTOMDRAW nm = RowRecord(row, CDDS_ITEMPOSTPAINT | CDDS_SUBITEM);
            nm.iSubItem = column;
            Notify(NM_CUSTOMDRAW, &nm.nmcd.hdr);
        }
        subResult_ = 0;
    }

    // ---- mouse and header
    void mousePressEvent(QMouseEvent* event) override {
        QTableWidget::mousePressEvent(event);
        SendActivate(NM_CLICK, event->position().toPoint());
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        QTableWidget::mouseDoubleClickEvent(event);
        SendActivate(NM_DBLCLK, event->position().toPoint());
    }
    void SendActivate(UINT code, QPoint viewportPoint) {
        NMITEMACTIVATE nm;
        const QModelIndex index = indexAt(viewportPoint);
        nm.iItem = index.isValid() ? index.row() : -1;
        nm.iSubItem = index.isValid() ? index.column() : 0;
        const QPoint client = viewportPoint + ViewportOffset();
        nm.ptAction = CPoint(client.x(), client.y());
        if (index.isValid())
            nm.lParam = DataOf(index.row());
        Notify(code, &nm.hdr);
    }

    void keyPressEvent(QKeyEvent* event) override {
        NMLVKEYDOWN key;
        key.wVKey = static_cast<WORD>(VirtualKeyOf(*event));
        if (key.wVKey != 0)
            Notify(LVN_KEYDOWN, &key.hdr);
        QTableWidget::keyPressEvent(event);
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            NMHDR nm;
            Notify(NM_RETURN, &nm);
        }
    }

    // Mouse input lands on the viewport; the control's own handlers (and PreTranslateMessage of it and
    // its parents) see it first, in the control's client coordinates, as for any other window.
    bool ViewportMouse(QEvent* event) {
        CWnd* self = Self();
        if (!self)
            return false;
        UINT message = 0;
        WPARAM flags = 0;
        LPARAM where = 0;
        auto keyFlags = [](Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
            WPARAM f = 0;
            if (buttons & Qt::LeftButton)
                f |= MK_LBUTTON;
            if (buttons & Qt::RightButton)
                f |= MK_RBUTTON;
            if (buttons & Qt::MiddleButton)
                f |= MK_MBUTTON;
            if (modifiers & Qt::ShiftModifier)
                f |= MK_SHIFT;
            if (modifiers & Qt::ControlModifier)
                f |= MK_CONTROL;
            return f;
        };
        if (event->type() == QEvent::Wheel) {
            auto* wheel = static_cast<QWheelEvent*>(event);
            const QPoint g = wheel->globalPosition().toPoint();
            message = WM_MOUSEWHEEL;
            flags = MAKEWPARAM(static_cast<unsigned>(keyFlags(wheel->buttons(), wheel->modifiers())),
                               static_cast<unsigned>(wheel->angleDelta().y()));
            where = MAKELPARAM(static_cast<unsigned>(g.x()), static_cast<unsigned>(g.y()));
        } else {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const bool right = mouse->button() == Qt::RightButton;
            switch (event->type()) {
            case QEvent::MouseButtonPress:
                message = right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
                break;
            case QEvent::MouseButtonRelease:
                message = right ? WM_RBUTTONUP : WM_LBUTTONUP;
                break;
            case QEvent::MouseButtonDblClick:
                message = right ? WM_RBUTTONDBLCLK : WM_LBUTTONDBLCLK;
                break;
            default:
                message = WM_MOUSEMOVE;
                break;
            }
            const QPoint p = mouse->position().toPoint() + ViewportOffset();
            flags = keyFlags(mouse->buttons(), mouse->modifiers());
            where = MAKELPARAM(static_cast<unsigned>(p.x()), static_cast<unsigned>(p.y()));
            MSG msg{self, message, flags, where};
            for (CWnd* w = self; w; w = w->GetParent())
                if (w->PreTranslateMessage(&msg))
                    return true;
            self = Self();
            if (!self)
                return true;
        }
        if (!self->GetMessageMap()->Find(MapEntryKind::Message, message, 0, 0))
            return false;
        return !self->DispatchFromEvent(message, flags, where);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == viewport()) {
            switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove:
            case QEvent::Wheel:
                return ViewportMouse(event);
            default:
                return QTableWidget::eventFilter(watched, event);
            }
        }
        if (watched == horizontalHeader()->viewport() && event->type() == QEvent::MouseButtonPress)
            headerPressed_ = true;
        if (watched == horizontalHeader()->viewport() && event->type() == QEvent::MouseButtonRelease)
            headerPressed_ = false;
        if (watched == horizontalHeader()->viewport() && event->type() == QEvent::MouseButtonRelease &&
            trackedSection_ >= 0) {
            HDITEM item;
            item.mask = HDI_WIDTH;
            item.cxy = columnWidth(trackedSection_);
            NMHEADER nm;
            nm.iItem = trackedSection_;
            nm.pitem = &item;
            trackedSection_ = -1;
            SendHeader(HDN_ENDTRACK, &nm);
        }
        return QTableWidget::eventFilter(watched, event);
    }

    // Header notifications reach the parent as from the header, whose id is 0.
    void SendHeader(UINT code, NMHEADER* nm) {
        CWnd* self = Self();
        CWnd* parent = self ? self->GetParent() : nullptr;
        if (!parent)
            return;
        nm->hdr.hwndFrom = self->GetSafeHwnd();
        nm->hdr.idFrom = 0;
        nm->hdr.code = code;
        parent->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm->hdr));
    }

    bool viewportEvent(QEvent* event) override {
        if (event->type() == QEvent::ToolTip) {
            auto* help = static_cast<QHelpEvent*>(event);
            const QModelIndex index = indexAt(help->pos());
            if (!index.isValid()) {
                QToolTip::hideText();
                return true;
            }
            NMLVGETINFOTIP nm;
            nm.iItem = index.row();
            nm.iSubItem = index.column();
            nm.lParam = DataOf(index.row());
            const QString full = index.data().toString();
            const bool cut = QFontMetrics(font()).horizontalAdvance(full) > columnWidth(index.column()) - 8;
            nm.text = cut ? FromQ(full) : std::string();
            if (infoTips_)
                Notify(LVN_GETINFOTIP, &nm.hdr);
            if (nm.text.empty())
                QToolTip::hideText();
            else
                QToolTip::showText(help->globalPos(), ToQ(nm.text), viewport());
            return true;
        }
        return QTableWidget::viewportEvent(event);
    }

    CHeaderCtrl header_;
    CFont baseFont_;
    LOGFONT baseLogFont_;
    std::unique_ptr<CDC> dc_;
    bool painting_ = false;
    std::map<int, bool> paintSelected_;
    LRESULT passResult_ = 0;
    LRESULT itemResult_ = 0;
    LRESULT subResult_ = 0;
    int currentRow_ = -1;
    COLORREF itemText_ = 0, itemBack_ = 0;
    QFont itemFont_;

    int quiet_ = 0;
    bool checkBoxes_ = false;
    bool fullRow_ = false;
    bool infoTips_ = false;
    bool subItemImages_ = false;
    DWORD exStyle_ = 0;
    COLORREF textColour_ = GetSysColor(COLOR_WINDOWTEXT);
    COLORREF textBkColour_ = GetSysColor(COLOR_WINDOW);
    COLORREF bkColour_ = GetSysColor(COLOR_WINDOW);
    CImageList* smallImages_ = nullptr;
    CImageList* normalImages_ = nullptr;
    CImageList* stateImages_ = nullptr;
    int selectionMark_ = -1;
    int trackedSection_ = -1;
    bool headerPressed_ = false;
    QLineEdit* labelEdit_ = nullptr;
    int labelItem_ = -1;
};

void ListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    ListViewWidget* list = list_;
    const int row = index.row(), column = index.column();
    ListViewWidget::CellLook look = list->StagesFor(row, column, option.rect);
    if (!look.skip) {
        const bool selected = list->IsRowSelected(row) && (list->fullRow_ || column == 0);
        COLORREF text = look.text == CLR_DEFAULT ? list->textColour_ : look.text;
        COLORREF back = look.back == CLR_DEFAULT ? list->textBkColour_ : look.back;
        if (selected) {
            text = GetSysColor(COLOR_HIGHLIGHTTEXT);
            back = GetSysColor(COLOR_HIGHLIGHT);
        }
        QRect r = option.rect;
        if (back != CLR_NONE)
            painter->fillRect(r, ToQColor(back));
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QRect check = CheckRect(opt);
        if (check.isValid()) {
            QStyleOptionViewItem box = opt;
            box.rect = check;
            box.state = box.state & ~QStyle::State_HasFocus;
            box.state |=
                index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
            list->style()->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, list);
        }
        const int image = index.data(kImageRole).isValid() ? index.data(kImageRole).toInt() : -1;
        if (list->smallImages_ && image >= 0 && (column == 0 || list->subItemImages_)) {
            const QImage picture = list->smallImages_->Image(image);
            if (!picture.isNull()) {
                const int x = check.isValid() ? check.right() + 3 : r.left() + 2;
                painter->drawImage(QPoint(x, r.top() + (r.height() - picture.height()) / 2), picture);
            }
        }
        const int format = list->horizontalHeaderItem(column)
                               ? list->horizontalHeaderItem(column)->data(kFormatRole).toInt()
                               : LVCFMT_LEFT;
        const QRect textRect = TextRect(opt, index);
        QFontMetrics metrics(look.font);
        const QString s = metrics.elidedText(ShownLine(index.data(Qt::DisplayRole).toString()),
                                             Qt::ElideRight, std::max(0, textRect.width()));
        Qt::Alignment align = Qt::AlignVCenter;
        align |= (format & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT    ? Qt::AlignRight
                 : (format & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER ? Qt::AlignHCenter
                                                                  : Qt::AlignLeft;
        painter->save();
        painter->setFont(look.font);
        painter->setPen(ToQColor(text));
        painter->drawText(textRect, static_cast<int>(align), s);
        painter->restore();
    }
    list->AfterCell(row, column);
}

QStyleOptionViewItem ListDelegate::CellOption(const QModelIndex& index, const QRect& cell) const {
    QStyleOptionViewItem option;
    option.initFrom(list_);
    option.font = list_->font();
    option.rect = cell;
    initStyleOption(&option, index);
    return option;
}

QRect ListDelegate::CheckRect(const QStyleOptionViewItem& option) const {
    if (option.index.column() != 0 || !list_->checkBoxes_)
        return {};
    return list_->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list_);
}

QRect ListDelegate::TextRect(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QRect r = option.rect;
    const QRect check = CheckRect(option);
    int x = check.isValid() ? check.right() + 3 : r.left() + 2;
    const int image = index.data(kImageRole).isValid() ? index.data(kImageRole).toInt() : -1;
    if (list_->smallImages_ && image >= 0 && (index.column() == 0 || list_->subItemImages_)) {
        const QImage picture = list_->smallImages_->Image(image);
        if (!picture.isNull())
            x += picture.width() + 2;
    }
    return QRect(x + 4, r.top(), r.right() - x - 8, r.height());
}

} // namespace

namespace {
ListViewWidget* W(const CWnd* wnd) {
    return dynamic_cast<ListViewWidget*>(wnd->GetWidget());
}
} // namespace

// ---- header

int CHeaderCtrl::GetItemCount() const {
    auto* list = dynamic_cast<ListViewWidget*>(list_);
    return list ? list->columnCount() : 0;
}

bool CHeaderCtrl::GetItemRect(int index, CRect* rect) const {
    auto* list = dynamic_cast<ListViewWidget*>(list_);
    if (!list || !rect || index < 0 || index >= list->columnCount())
        return false;
    QHeaderView* header = list->horizontalHeader();
    const int left = header->sectionViewportPosition(index) + header->geometry().left();
    *rect = CRect(left, header->geometry().top(), left + header->sectionSize(index),
                  header->geometry().bottom() + 1);
    return true;
}

// ---- creation

namespace {
// List views in dialog templates are made as this class, so a program's class can subclass them.
const bool kTemplateClassRegistered = [] {
    RegisterControlClass(std::string(kClassListView), [](const DialogControlTemplate& control,
                                                         const CRect& pixels, CWnd* parent) {
        auto list = std::make_unique<CListCtrl>();
        std::unique_ptr<CWnd> made;
        if (list->CreateEx(control.exStyle, control.style, pixels, parent, static_cast<UINT>(control.id)))
            made = std::move(list);
        return made;
    });
    return true;
}();
} // namespace

const MessageMap* CListCtrl::GetMessageMap() const {
    static const MessageMap map(CWnd::GetMessageMap(), {});
    return &map;
}

bool CListCtrl::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    return CreateEx(0, style, rect, parent, id);
}

bool CListCtrl::CreateEx(DWORD exStyle, DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    if (GetSafeHwnd() || (parent && !parent->GetWidget()))
        return false;
    auto* widget = new ListViewWidget(parent ? parent->GetWidget() : nullptr);
    widget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    if (style & LVS_SINGLESEL)
        widget->setSelectionMode(QAbstractItemView::SingleSelection);
    if (style & LVS_NOCOLUMNHEADER)
        widget->horizontalHeader()->hide();
    if (style & LVS_NOSORTHEADER)
        widget->horizontalHeader()->setSectionsClickable(false);
    AttachWidget(widget, static_cast<int>(id), style, exStyle, true);
    widget->setVisible((style & WS_VISIBLE) != 0);
    widget->setEnabled((style & WS_DISABLED) == 0);
    return true;
}

DWORD CListCtrl::GetExtendedStyle() const {
    return W(this) ? W(this)->exStyle_ : 0;
}

DWORD CListCtrl::SetExtendedStyle(DWORD exStyle) {
    ListViewWidget* w = W(this);
    if (!w)
        return 0;
    const DWORD old = w->exStyle_;
    w->exStyle_ = exStyle;
    w->setShowGrid((exStyle & LVS_EX_GRIDLINES) != 0);
    w->fullRow_ = (exStyle & LVS_EX_FULLROWSELECT) != 0;
    w->infoTips_ = (exStyle & LVS_EX_INFOTIP) != 0;
    w->subItemImages_ = (exStyle & LVS_EX_SUBITEMIMAGES) != 0;
    if (((old ^ exStyle) & LVS_EX_CHECKBOXES) != 0)
        w->SetCheckBoxes((exStyle & LVS_EX_CHECKBOXES) != 0);
    w->viewport()->update();
    return old;
}

// ---- columns

int CListCtrl::InsertColumn(int column, const LVCOLUMN* info) {
    ListViewWidget* w = W(this);
    if (!w || !info || column < 0)
        return -1;
    column = std::min(column, w->columnCount());
    ++w->quiet_;
    w->insertColumn(column);
    auto* header = new QTableWidgetItem(
        (info->mask & LVCF_TEXT) && info->pszText ? QString::fromUtf8(info->pszText) : QString());
    const int format = (info->mask & LVCF_FMT) ? info->fmt : LVCFMT_LEFT;
    header->setData(kFormatRole, format);
    header->setTextAlignment(Qt::AlignVCenter |
                             ((format & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT    ? Qt::AlignRight
                              : (format & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER ? Qt::AlignHCenter
                                                                               : Qt::AlignLeft));
    w->setHorizontalHeaderItem(column, header);
    if (info->mask & LVCF_WIDTH)
        w->setColumnWidth(column, std::max(0, info->cx));
    for (int r = 0; r < w->rowCount(); ++r)
        w->Cell(r, column);
    --w->quiet_;
    return column;
}

int CListCtrl::InsertColumn(int column, const std::string& heading, int format, int width, int subItem) {
    LVCOLUMN info;
    info.mask = LVCF_TEXT | LVCF_FMT;
    std::string text = heading;
    info.pszText = text.data();
    info.fmt = format;
    if (width != -1)
        info.mask |= LVCF_WIDTH, info.cx = width;
    if (subItem != -1)
        info.mask |= LVCF_SUBITEM, info.iSubItem = subItem;
    return InsertColumn(column, &info);
}

bool CListCtrl::DeleteColumn(int column) {
    ListViewWidget* w = W(this);
    if (!w || column < 0 || column >= w->columnCount())
        return false;
    ++w->quiet_;
    if (column == 0)
        for (int r = 0; r < w->rowCount(); ++r) {
            // Item data and check state belong to the item, not to its first column: the next column
            // becomes the first and carries them on.
            QTableWidgetItem* first = w->item(r, 0);
            QTableWidgetItem* next = w->columnCount() > 1 ? w->Cell(r, 1) : nullptr;
            if (first && next) {
                next->setData(kDataRole, first->data(kDataRole));
                if (w->checkBoxes_) {
                    next->setFlags(next->flags() | Qt::ItemIsUserCheckable);
                    next->setCheckState(first->checkState());
                    next->setData(kKnownCheckRole, first->checkState() == Qt::Checked);
                }
            }
        }
    w->removeColumn(column);
    --w->quiet_;
    return true;
}

bool CListCtrl::GetColumn(int column, LVCOLUMN* info) const {
    ListViewWidget* w = W(this);
    if (!w || !info || column < 0 || column >= w->columnCount())
        return false;
    QTableWidgetItem* header = w->horizontalHeaderItem(column);
    if (info->mask & LVCF_FMT)
        info->fmt = header ? header->data(kFormatRole).toInt() : LVCFMT_LEFT;
    if (info->mask & LVCF_WIDTH)
        info->cx = w->columnWidth(column);
    if ((info->mask & LVCF_TEXT) && info->pszText && info->cchTextMax > 0) {
        const std::string text = header ? FromQ(header->text()) : std::string();
        std::strncpy(info->pszText, text.c_str(), static_cast<std::size_t>(info->cchTextMax - 1));
        info->pszText[info->cchTextMax - 1] = '\0';
    }
    if (info->mask & LVCF_SUBITEM)
        info->iSubItem = column;
    return true;
}

bool CListCtrl::SetColumn(int column, const LVCOLUMN* info) {
    ListViewWidget* w = W(this);
    if (!w || !info || column < 0 || column >= w->columnCount())
        return false;
    QTableWidgetItem* header = w->horizontalHeaderItem(column);
    if (!header)
        w->setHorizontalHeaderItem(column, header = new QTableWidgetItem);
    if ((info->mask & LVCF_TEXT) && info->pszText)
        header->setText(QString::fromUtf8(info->pszText));
    if (info->mask & LVCF_FMT)
        header->setData(kFormatRole, info->fmt);
    if (info->mask & LVCF_WIDTH)
        w->setColumnWidth(column, info->cx);
    w->viewport()->update();
    return true;
}

int CListCtrl::GetColumnWidth(int column) const {
    ListViewWidget* w = W(this);
    return w && column >= 0 && column < w->columnCount() ? w->columnWidth(column) : 0;
}

bool CListCtrl::SetColumnWidth(int column, int width) {
    ListViewWidget* w = W(this);
    if (!w || column < 0 || column >= w->columnCount())
        return false;
    if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER) {
        // What a cell draws beside its text (margins, check box, image, grid line) comes on top of
        // the text.
        const auto* delegate = static_cast<const ListDelegate*>(w->itemDelegate());
        int needed = 0;
        for (int row = 0; row < w->rowCount(); ++row) {
            const QModelIndex index = w->model()->index(row, column);
            const QRect cell = w->visualRect(index);
            const int beside =
                w->columnWidth(column) - delegate->TextRect(delegate->CellOption(index, cell), index).width();
            needed = std::max(needed, GetCellTextExtent(row, column).cx + beside);
        }
        if (width == LVSCW_AUTOSIZE_USEHEADER) {
            const QHeaderView* header = w->horizontalHeader();
            const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
            const QString heading = w->model()->headerData(column, Qt::Horizontal).toString();
            needed = std::max(needed, QFontMetrics(header->font()).size(0, heading).width() + 2 * margin);
        }
        width = needed;
    }
    w->setColumnWidth(column, std::max(0, width));
    return true;
}

int CListCtrl::GetColumnCount() const {
    return W(this) ? W(this)->columnCount() : 0;
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() {
    return W(this) ? &W(this)->header_ : nullptr;
}

void CHeaderCtrl::EnableWindow(bool enable) {
    auto* list = dynamic_cast<ListViewWidget*>(list_);
    if (!list)
        return;
    QHeaderView* header = list->horizontalHeader();
    header->setSectionResizeMode(enable ? QHeaderView::Interactive : QHeaderView::Fixed);
    header->setEnabled(enable);
}

bool CHeaderCtrl::IsWindowEnabled() const {
    auto* list = dynamic_cast<ListViewWidget*>(list_);
    return list && list->horizontalHeader()->isEnabled();
}

// ---- items

int CListCtrl::GetItemCount() const {
    return W(this) ? W(this)->rowCount() : 0;
}

int CListCtrl::InsertItem(const LVITEM* item) {
    ListViewWidget* w = W(this);
    if (!w || !item || item->iSubItem != 0 || item->iItem < 0)
        return -1;
    const int row = std::min(item->iItem, w->rowCount());
    ++w->quiet_;
    w->insertRow(row);
    w->PrepareRow(row);
    QTableWidgetItem* cell = w->Cell(row, 0);
    if (cell) {
        if ((item->mask & LVIF_TEXT) && item->pszText)
            cell->setText(QString::fromUtf8(item->pszText));
        if (item->mask & LVIF_IMAGE)
            cell->setData(kImageRole, item->iImage);
        if (item->mask & LVIF_PARAM)
            cell->setData(kDataRole, QVariant::fromValue<qulonglong>(static_cast<qulonglong>(item->lParam)));
    }
    if (w->selectionMark_ >= row)
        ++w->selectionMark_;
    --w->quiet_;
    if ((item->mask & LVIF_STATE) && item->stateMask)
        SetItemState(row, item->state, item->stateMask);
    return row;
}

int CListCtrl::InsertItem(int index, const std::string& text) {
    return InsertItem(index, text, -1);
}

int CListCtrl::InsertItem(int index, const std::string& text, int image) {
    LVITEM item;
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    std::string copy = text;
    item.pszText = copy.data();
    item.iImage = image;
    return InsertItem(&item);
}

bool CListCtrl::SetItem(const LVITEM* item) {
    ListViewWidget* w = W(this);
    if (!w || !item || item->iItem < 0 || item->iItem >= w->rowCount() || item->iSubItem < 0 ||
        item->iSubItem >= std::max(1, w->columnCount()))
        return false;
    QTableWidgetItem* cell = w->Cell(item->iItem, item->iSubItem);
    if (!cell)
        return false;
    ++w->quiet_;
    if ((item->mask & LVIF_TEXT) && item->pszText)
        cell->setText(QString::fromUtf8(item->pszText));
    if (item->mask & LVIF_IMAGE)
        cell->setData(kImageRole, item->iImage);
    if ((item->mask & LVIF_PARAM) && item->iSubItem == 0)
        cell->setData(kDataRole, QVariant::fromValue<qulonglong>(static_cast<qulonglong>(item->lParam)));
    --w->quiet_;
    if ((item->mask & LVIF_STATE) && item->iSubItem == 0)
        SetItemState(item->iItem, item->state, item->stateMask);
    return true;
}

bool CListCtrl::GetItem(LVITEM* item) const {
    ListViewWidget* w = W(this);
    if (!w || !item || item->iItem < 0 || item->iItem >= w->rowCount() || item->iSubItem < 0 ||
        item->iSubItem >= w->columnCount())
        return false;
    QTableWidgetItem* cell = w->item(item->iItem, item->iSubItem);
    if ((item->mask & LVIF_TEXT) && item->pszText && item->cchTextMax > 0) {
        const std::string text = cell ? FromQ(cell->text()) : std::string();
        std::strncpy(item->pszText, text.c_str(), static_cast<std::size_t>(item->cchTextMax - 1));
        item->pszText[item->cchTextMax - 1] = '\0';
    }
    if (item->mask & LVIF_IMAGE)
        item->iImage = cell && cell->data(kImageRole).isValid() ? cell->data(kImageRole).toInt() : -1;
    if (item->mask & LVIF_PARAM)
        item->lParam = w->DataOf(item->iItem);
    if (item->mask & LVIF_STATE)
        item->state = w->StateOf(item->iItem) & item->stateMask;
    return true;
}

bool CListCtrl::SetItemText(int item, int subItem, const std::string& text) {
    ListViewWidget* w = W(this);
    if (!w || item < 0 || item >= w->rowCount() || subItem < 0 || subItem >= w->columnCount())
        return false;
    ++w->quiet_;
    w->Cell(item, subItem)->setText(ToQ(text));
    --w->quiet_;
    return true;
}

std::string CListCtrl::GetItemText(int item, int subItem) const {
    ListViewWidget* w = W(this);
    if (!w || item < 0 || item >= w->rowCount() || subItem < 0 || subItem >= w->columnCount())
        return {};
    QTableWidgetItem* cell = w->item(item, subItem);
    return cell ? FromQ(cell->text()) : std::string();
}

bool CListCtrl::SetItemData(int item, std::uintptr_t data) {
    ListViewWidget* w = W(this);
    if (!w || item < 0 || item >= w->rowCount() || w->columnCount() == 0)
        return false;
    ++w->quiet_;
    w->Cell(item, 0)->setData(kDataRole, QVariant::fromValue<qulonglong>(data));
    --w->quiet_;
    return true;
}

std::uintptr_t CListCtrl::GetItemData(int item) const {
    ListViewWidget* w = W(this);
    if (!w || item < 0 || item >= w->rowCount())
        return 0;
    return static_cast<std::uintptr_t>(w->DataOf(item));
}

bool CListCtrl::DeleteItem(int item) {
    ListViewWidget* w = W(this);
    if (!w || item < 0 || item >= w->rowCount())
        return false;
    NMLISTVIEW nm;
    nm.iItem = item;
    nm.lParam = w->DataOf(item);
    w->Notify(LVN_DELETEITEM, &nm.hdr);
    ++w->quiet_;
    w->removeRow(item);
    if (w->selectionMark_ == item)
        w->selectionMark_ = -1;
    else if (w->selectionMark_ > item)
        --w->selectionMark_;
    --w->quiet_;
    return true;
}

bool CListCtrl::DeleteAllItems() {
    ListViewWidget* w = W(this);
    if (!w)
        return false;
    ++w->quiet_;
    w->setRowCount(0);
    w->selectionMark_ = -1;
    --w->quiet_;
    return true;
}

int CListCtrl::FindItem(const LVFINDINFO* find, int start) const {
    ListViewWidget* w = W(this);
    if (!w || !find)
        return -1;
    const int count = w->rowCount();
    const int first = start + 1;
    const int steps = (find->flags & LVFI_WRAP) ? count : count - std::max(0, first);
    for (int n = 0; n < steps; ++n) {
        const int row = (std::max(0, first) + n) % std::max(1, count);
        if (find->flags & LVFI_PARAM) {
            if (w->DataOf(row) == find->lParam)
                return row;
        } else if (find->flags & (LVFI_STRING | LVFI_PARTIAL)) {
            const QString text = w->item(row, 0) ? w->item(row, 0)->text() : QString();
            const QString wanted = QString::fromUtf8(find->psz ? find->psz : "");
            const bool match = (find->flags & LVFI_PARTIAL) ? text.startsWith(wanted, Qt::CaseInsensitive)
                                                            : text.compare(wanted, Qt::CaseInsensitive) == 0;
            if (match)
                return row;
        }
    }
    return -1;
}

// ---- state

bool CListCtrl::SetItemState(int item, UINT state, UINT mask) {
    ListViewWidget* w = W(this);
    if (!w)
        return false;
    if (item == -1) { // every item
        bool ok = true;
        for (int r = 0; r < w->rowCount(); ++r)
            ok = SetItemState(r, state, mask) && ok;
        return ok;
    }
    if (item < 0 || item >= w->rowCount())
        return false;
    if (w->painting_) {
        // A custom-draw handler may take the selection away for painting and give it back later;
        // that must neither repaint the list nor tell the parent.
        if (mask & LVIS_SELECTED)
            w->paintSelected_[item] = (state & LVIS_SELECTED) != 0;
        return true;
    }
    if (mask & LVIS_SELECTED) {
        const QModelIndex index = w->model()->index(item, 0);
        const bool select = (state & LVIS_SELECTED) != 0;
        if (select != w->IsRowSelected(item))
            w->selectionModel()->select(
                index, (select ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                           QItemSelectionModel::Rows);
    }
    if ((mask & LVIS_FOCUSED) && (state & LVIS_FOCUSED))
        w->selectionModel()->setCurrentIndex(w->model()->index(item, 0), QItemSelectionModel::NoUpdate);
    if ((mask & LVIS_STATEIMAGEMASK) && w->checkBoxes_) {
        const UINT image = (state & LVIS_STATEIMAGEMASK) >> 12;
        if (image == 1 || image == 2)
            w->Cell(item, 0)->setCheckState(image == 2 ? Qt::Checked : Qt::Unchecked);
    }
    return true;
}

UINT CListCtrl::GetItemState(int item, UINT mask) const {
    ListViewWidget* w = W(this);
    if (!w || item < 0 || item >= w->rowCount())
        return 0;
    return w->StateOf(item) & mask;
}

bool CListCtrl::SetCheck(int item, bool check) {
    return SetItemState(item, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), LVIS_STATEIMAGEMASK);
}

bool CListCtrl::GetCheck(int item) const {
    return ((GetItemState(item, LVIS_STATEIMAGEMASK) >> 12) & 0xF) == 2;
}

int CListCtrl::GetSelectedCount() const {
    ListViewWidget* w = W(this);
    if (!w)
        return 0;
    int count = 0;
    for (int r = 0; r < w->rowCount(); ++r)
        count += w->IsRowSelected(r);
    return count;
}

int CListCtrl::GetSelectionMark() const {
    ListViewWidget* w = W(this);
    if (!w)
        return -1;
    if (w->selectionMark_ >= 0 && w->selectionMark_ < w->rowCount())
        return w->selectionMark_;
    // A user's click moves the mark: it follows the focused item.
    const QModelIndex current = w->currentIndex();
    return current.isValid() && w->IsRowSelected(current.row()) ? current.row() : -1;
}

int CListCtrl::SetSelectionMark(int item) {
    ListViewWidget* w = W(this);
    if (!w)
        return -1;
    const int old = GetSelectionMark();
    w->selectionMark_ = item;
    return old;
}

int CListCtrl::GetNextItem(int start, UINT flags) const {
    ListViewWidget* w = W(this);
    if (!w)
        return -1;
    for (int r = start + 1; r < w->rowCount(); ++r) {
        const UINT state = w->StateOf(r);
        if ((flags & LVNI_SELECTED) && !(state & LVIS_SELECTED))
            continue;
        if ((flags & LVNI_FOCUSED) && !(state & LVIS_FOCUSED))
            continue;
        return r;
    }
    return -1;
}

// ---- colours and images

COLORREF CListCtrl::GetTextColor() const {
    return W(this) ? W(this)->textColour_ : 0;
}
COLORREF CListCtrl::GetTextBkColor() const {
    return W(this) ? W(this)->textBkColour_ : 0;
}
COLORREF CListCtrl::GetBkColor() const {
    return W(this) ? W(this)->bkColour_ : 0;
}

bool CListCtrl::SetTextColor(COLORREF colour) {
    ListViewWidget* w = W(this);
    if (!w)
        return false;
    w->textColour_ = colour == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : colour;
    w->viewport()->update();
    return true;
}

bool CListCtrl::SetTextBkColor(COLORREF colour) {
    ListViewWidget* w = W(this);
    if (!w)
        return false;
    w->textBkColour_ = colour == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : colour;
    w->viewport()->update();
    return true;
}

bool CListCtrl::SetBkColor(COLORREF colour) {
    ListViewWidget* w = W(this);
    if (!w)
        return false;
    w->bkColour_ = colour == CLR_NONE || colour == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : colour;
    QPalette palette = w->viewport()->palette();
    palette.setColor(QPalette::Base, ToQColor(w->bkColour_));
    w->viewport()->setPalette(palette);
    w->setPalette(palette);
    w->viewport()->update();
    return true;
}

CImageList* CListCtrl::SetImageList(CImageList* list, int kind) {
    ListViewWidget* w = W(this);
    if (!w)
        return nullptr;
    CImageList** slot = kind == LVSIL_SMALL   ? &w->smallImages_
                        : kind == LVSIL_STATE ? &w->stateImages_
                                              : &w->normalImages_;
    CImageList* old = std::exchange(*slot, list);
    w->UpdateRowHeight();
    w->viewport()->update();
    return old;
}

CImageList* CListCtrl::GetImageList(int kind) const {
    ListViewWidget* w = W(this);
    if (!w)
        return nullptr;
    return kind == LVSIL_SMALL ? w->smallImages_ : kind == LVSIL_STATE ? w->stateImages_ : w->normalImages_;
}

// ---- geometry

namespace {
CRect ToCRect(const QRect& r) {
    return CRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}
} // namespace

bool CListCtrl::GetItemRect(int item, CRect* rect, int code) const {
    ListViewWidget* w = W(this);
    if (!w || !rect || item < 0 || item >= w->rowCount() || w->columnCount() == 0)
        return false;
    QRect first = w->visualRect(w->model()->index(item, 0)).translated(w->ViewportOffset());
    if (code == LVIR_BOUNDS) {
        QRect last =
            w->visualRect(w->model()->index(item, w->columnCount() - 1)).translated(w->ViewportOffset());
        *rect = ToCRect(first.united(last));
    } else if (code == LVIR_ICON) {
        const int icon = w->smallImages_ ? w->smallImages_->GetImageSize().cx : 0;
        *rect = ToCRect(QRect(first.left(), first.top(), icon, first.height()));
    } else {
        const int icon = w->smallImages_ ? w->smallImages_->GetImageSize().cx : 0;
        *rect = ToCRect(first.adjusted(icon, 0, 0, 0));
    }
    return true;
}

bool CListCtrl::GetSubItemRect(int item, int subItem, int code, CRect& rect) const {
    ListViewWidget* w = W(this);
    if (!w || item < 0 || item >= w->rowCount() || subItem < 0 || subItem >= w->columnCount())
        return false;
    if (subItem == 0 && code == LVIR_BOUNDS)
        return GetItemRect(item, &rect, LVIR_BOUNDS);
    rect = ToCRect(w->visualRect(w->model()->index(item, subItem)).translated(w->ViewportOffset()));
    return true;
}

bool CListCtrl::GetCellTextRect(int item, int subItem, CRect* rect) const {
    ListViewWidget* w = W(this);
    if (!w || !rect || item < 0 || item >= w->rowCount() || subItem < 0 || subItem >= w->columnCount())
        return false;
    const QModelIndex index = w->model()->index(item, subItem);
    const auto* delegate = static_cast<const ListDelegate*>(w->itemDelegate());
    *rect = ToCRect(delegate->TextRect(delegate->CellOption(index, w->visualRect(index)), index)
                        .translated(w->ViewportOffset()));
    return true;
}

CSize CListCtrl::GetCellTextExtent(int item, int subItem) const {
    ListViewWidget* w = W(this);
    if (!w || item < 0 || item >= w->rowCount() || subItem < 0 || subItem >= w->columnCount())
        return {};
    const QSize size =
        QFontMetrics(w->font()).size(0, ShownLine(w->model()->index(item, subItem).data().toString()));
    return {size.width(), size.height()};
}

int CListCtrl::HitTest(CPoint point, UINT* flags) const {
    LVHITTESTINFO info;
    info.pt = point;
    const int item = HitTest(&info);
    if (flags)
        *flags = info.flags;
    return item;
}

int CListCtrl::HitTest(LVHITTESTINFO* info) const {
    const int item = SubItemHitTest(info);
    if (info)
        info->iSubItem = 0;
    return item;
}

int CListCtrl::SubItemHitTest(LVHITTESTINFO* info) const {
    ListViewWidget* w = W(this);
    if (!w || !info)
        return -1;
    const QModelIndex index = w->indexAt(QPoint(info->pt.x, info->pt.y) - w->ViewportOffset());
    if (!index.isValid() || !w->viewport()->geometry().contains(QPoint(info->pt.x, info->pt.y))) {
        info->flags = LVHT_NOWHERE;
        info->iItem = -1;
        info->iSubItem = 0;
        return -1;
    }
    info->flags = LVHT_ONITEMLABEL;
    info->iItem = index.row();
    info->iSubItem = index.column();
    return index.row();
}

int CListCtrl::GetTopIndex() const {
    ListViewWidget* w = W(this);
    if (!w || w->rowCount() == 0)
        return 0;
    return std::max(0, w->rowAt(0));
}

int CListCtrl::GetCountPerPage() const {
    ListViewWidget* w = W(this);
    if (!w)
        return 0;
    return w->viewport()->height() / std::max(1, w->verticalHeader()->defaultSectionSize());
}

bool CListCtrl::EnsureVisible(int item, bool) {
    ListViewWidget* w = W(this);
    if (!w || item < 0 || item >= w->rowCount())
        return false;
    w->scrollTo(w->model()->index(item, 0), QAbstractItemView::EnsureVisible);
    return true;
}

bool CListCtrl::Scroll(CSize size) {
    ListViewWidget* w = W(this);
    if (!w)
        return false;
    w->horizontalScrollBar()->setValue(w->horizontalScrollBar()->value() + size.cx);
    const int rowHeight = std::max(1, w->verticalHeader()->defaultSectionSize());
    w->verticalScrollBar()->setValue(w->verticalScrollBar()->value() + size.cy / rowHeight);
    return true;
}

bool CListCtrl::RedrawItems(int first, int last) {
    ListViewWidget* w = W(this);
    if (!w)
        return false;
    for (int r = std::max(0, first); r <= last && r < w->rowCount(); ++r)
        for (int c = 0; c < w->columnCount(); ++c)
            w->viewport()->update(w->visualRect(w->model()->index(r, c)));
    return true;
}

// ---- label editing

bool CListCtrl::EditLabel(int item) {
    ListViewWidget* w = W(this);
    if (!w || item < 0 || item >= w->rowCount() || w->columnCount() == 0)
        return false;
    EndLabelEdit(false);
    NMLVDISPINFO begin;
    begin.item.iItem = item;
    begin.item.mask = LVIF_TEXT;
    std::string text = GetItemText(item, 0);
    begin.item.pszText = text.data();
    if (w->Notify(LVN_BEGINLABELEDIT, &begin.hdr) != 0)
        return false;
    CRect cell;
    GetSubItemRect(item, 0, LVIR_LABEL, cell);
    auto* edit = new QLineEdit(w);
    edit->setGeometry(cell.left, cell.top, cell.Width(), cell.Height());
    edit->setText(ToQ(GetItemText(item, 0)));
    edit->selectAll();
    edit->show();
    edit->setFocus();
    w->labelEdit_ = edit;
    w->labelItem_ = item;
    // The control's object may change (subclassing) while the edit runs: ask the widget for it.
    auto finish = [w] {
        if (auto* self = dynamic_cast<CListCtrl*>(CWnd::FromWidget(w)))
            self->EndLabelEdit(true);
    };
    QObject::connect(edit, &QLineEdit::returnPressed, w, finish);
    QObject::connect(edit, &QLineEdit::editingFinished, w, finish);
    return true;
}

bool CListCtrl::EndLabelEdit(bool accept) {
    ListViewWidget* w = W(this);
    if (!w || !w->labelEdit_)
        return false;
    QLineEdit* edit = std::exchange(w->labelEdit_, nullptr);
    const int item = std::exchange(w->labelItem_, -1);
    std::string text = FromQ(edit->text());
    edit->hide();
    edit->deleteLater();
    NMLVDISPINFO end;
    end.item.iItem = item;
    end.item.mask = LVIF_TEXT;
    end.item.pszText = accept ? text.data() : nullptr;
    end.item.cchTextMax = static_cast<int>(text.size()) + 1;
    if (w->Notify(LVN_ENDLABELEDIT, &end.hdr) != 0 && accept)
        SetItemText(item, 0, text);
    return true;
}

QImage CListCtrl::Render() {
    ListViewWidget* w = W(this);
    if (!w)
        return {};
    return w->grab().toImage();
}
