#include "framework/ui/ComboBox.h"

#include "framework/ui/DC.h"
#include "framework/ui/WndInternal.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QIdentityProxyModel>
#include <QLineEdit>
#include <QPainter>
#include <QStylePainter>
#include <QStyledItemDelegate>

namespace {

constexpr int kDataRole = Qt::UserRole + 1;

struct ComboState : QObject {
    int programmatic = 0;
};

void Notify(QWidget* widget, UINT code) {
    if (CWnd* w = CWnd::FromWidget(widget))
        w->NotifyParent(code);
}

// Reports the list opening and closing, as CBN_DROPDOWN / CBN_CLOSEUP.
class KeloComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    bool ownerDraw = false;
    void showPopup() override {
        Notify(this, CBN_DROPDOWN);
        QComboBox::showPopup();
    }
    void hidePopup() override {
        QComboBox::hidePopup();
        Notify(this, CBN_CLOSEUP);
    }

    // The closed box draws the chosen item on one line; its text stays what the program gave.
    void initStyleOption(QStyleOptionComboBox* option) const override {
        QComboBox::initStyleOption(option);
        option->currentText = ShownLine(option->currentText);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        if (!ownerDraw) {
            QComboBox::paintEvent(event);
            return;
        }
        // The frame and arrow are Qt's; the face of the current item is the owner's.
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.currentText.clear();
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        painter.end();
        CWnd* wrapper = CWnd::FromWidget(this);
        CWnd* parent = wrapper ? wrapper->GetParent() : nullptr;
        if (!parent)
            return;
        const QRect face =
            style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
        CDC dc(this);
        DRAWITEMSTRUCT item;
        item.CtlType = ODT_COMBOBOX;
        item.CtlID = static_cast<UINT>(wrapper->GetDlgCtrlID());
        item.itemID = currentIndex() < 0 ? static_cast<UINT>(-1) : static_cast<UINT>(currentIndex());
        item.itemState = ODS_COMBOBOXEDIT | (hasFocus() ? ODS_FOCUS | ODS_SELECTED : 0u) |
                         (isEnabled() ? 0u : ODS_DISABLED);
        item.hwndItem = wrapper;
        item.hDC = &dc;
        item.rcItem = CRect(face.left(), face.top(), face.right() + 1, face.bottom() + 1);
        item.itemData = currentIndex() < 0 ? 0 : itemData(currentIndex(), kDataRole).value<qulonglong>();
        parent->SendMessage(WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    }
};

// Draws list items through the owner's DrawItem.
class OwnerDrawDelegate : public QStyledItemDelegate {
public:
    explicit OwnerDrawDelegate(KeloComboBox* combo) : QStyledItemDelegate(combo), combo_(combo) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        CWnd* wrapper = CWnd::FromWidget(combo_);
        CWnd* parent = wrapper ? wrapper->GetParent() : nullptr;
        if (!parent) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        // The owner draws the item on a device context of its own, then the picture goes in place.
        const QRect r = option.rect;
        QImage image(r.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(option.palette.color(QPalette::Base));
        {
            CDC dc(&image);
            DRAWITEMSTRUCT item;
            item.CtlType = ODT_COMBOBOX;
            item.CtlID = static_cast<UINT>(wrapper->GetDlgCtrlID());
            item.itemID = static_cast<UINT>(index.row());
            item.itemState = (option.state & QStyle::State_Selected) ? ODS_SELECTED : 0u;
            item.hwndItem = wrapper;
            item.hDC = &dc;
            item.rcItem = CRect(0, 0, r.width(), r.height());
            item.itemData = index.data(kDataRole).value<qulonglong>();
            parent->SendMessage(WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
        }
        painter->drawImage(r.topLeft(), image);
    }

private:
    KeloComboBox* combo_;
};

// The items as the open list draws them: each on one line.
class ShownLinesModel : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        const QVariant value = QIdentityProxyModel::data(index, role);
        return role == Qt::DisplayRole && value.userType() == QMetaType::QString ? ShownLine(value.toString())
                                                                                 : value;
    }
};

// Hands the style's own item delegate the one-line texts, so the open list keeps the style's look.
class ShownLinesDelegate : public QAbstractItemDelegate {
public:
    ShownLinesDelegate(QComboBox* combo, QAbstractItemDelegate* inner)
        : QAbstractItemDelegate(combo), inner_(inner), shown_(new ShownLinesModel(this)) {
        shown_->setSourceModel(combo->model());
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        inner_->paint(painter, option, shown_->mapFromSource(index));
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return inner_->sizeHint(option, shown_->mapFromSource(index));
    }

private:
    QAbstractItemDelegate* inner_;
    ShownLinesModel* shown_;
};

QComboBox* Combo(const CWnd* w) {
    return qobject_cast<QComboBox*>(w->GetWidget());
}

} // namespace

void CComboBox::CreateWidget(CWnd* wrapper, DWORD style, DWORD exStyle, const CRect& rect, CWnd* parent,
                             int id) {
    auto* combo = new KeloComboBox(parent ? parent->GetWidget() : nullptr);
    auto* state = AttachState(combo, new ComboState);
    const DWORD kind = style & CBS_TYPEMASK;
    combo->setEditable(kind == CBS_DROPDOWN || kind == CBS_SIMPLE);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(30);
    // A template gives the height of the open list; the closed box keeps its natural height.
    const int height = std::min(rect.Height(), combo->sizeHint().height());
    combo->setGeometry(rect.left, rect.top, std::max(0, rect.Width()), std::max(0, height));
    if (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) {
        combo->ownerDraw = true;
        combo->setItemDelegate(new OwnerDrawDelegate(combo));
    } else {
        combo->setItemDelegate(new ShownLinesDelegate(combo, combo->itemDelegate()));
    }
    QObject::connect(combo, qOverload<int>(&QComboBox::currentIndexChanged), combo, [combo, state](int) {
        if (!state->programmatic)
            Notify(combo, CBN_SELCHANGE);
    });
    QObject::connect(combo, qOverload<int>(&QComboBox::activated), combo,
                     [combo](int) { Notify(combo, CBN_SELENDOK); });
    if (QLineEdit* edit = combo->lineEdit())
        QObject::connect(edit, &QLineEdit::textEdited, combo,
                         [combo](const QString&) { Notify(combo, CBN_EDITCHANGE); });
    wrapper->AttachWidget(combo, id, style, exStyle, true);
    WndBridge* bridge = WndBridge::Of(combo);
    bridge->ctlColorKind = CTLCOLOR_EDIT;
    bridge->notifiesFocus = true;
    bridge->setFocusCode = CBN_SETFOCUS;
    bridge->killFocusCode = CBN_KILLFOCUS;
    bridge->setText = [combo, state](const std::string& text) {
        if (QLineEdit* edit = combo->lineEdit()) {
            ++state->programmatic;
            edit->setText(QString::fromStdString(text));
            --state->programmatic;
        }
    };
    bridge->getText = [combo]() { return combo->currentText().toStdString(); };
    bridge->procedure = [combo, state](UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
        switch (message) {
        case CB_GETCURSEL:
            *result = combo->currentIndex();
            return true;
        case CB_SETCURSEL: {
            ++state->programmatic;
            const int index = static_cast<int>(wParam);
            combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
            --state->programmatic;
            *result = combo->currentIndex() == index ? index : CB_ERR;
            return true;
        }
        case CB_GETCOUNT:
            *result = combo->count();
            return true;
        default:
            return false;
        }
    };
    ApplyInitialState(combo, style);
}

BOOL CComboBox::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    if (!CanCreateWindow(this, parent))
        return FALSE;
    CreateWidget(this, style, 0, rect, parent, static_cast<int>(id));
    return TRUE;
}

int CComboBox::AddString(const std::string& text) {
    QComboBox* combo = Combo(this);
    if (!combo)
        return CB_ERR;
    const int index =
        (GetStyle() & CBS_SORT)
            ? SortedListPosition(
                  combo->count(), [combo](int i) { return combo->itemText(i); }, QString::fromStdString(text))
            : combo->count();
    return InsertString(index, text);
}

int CComboBox::InsertString(int index, const std::string& text) {
    QComboBox* combo = Combo(this);
    if (!combo || index > combo->count())
        return CB_ERR;
    if (index < 0)
        index = combo->count();
    ComboState* state = StateOf<ComboState>(combo);
    ++state->programmatic;
    combo->insertItem(index, QString::fromStdString(text));
    combo->setItemData(index, QVariant::fromValue<qulonglong>(0), kDataRole);
    // Inserting into an empty list must not select the new item, as the platform's list does not.
    if (combo->count() == 1 && !combo->isEditable())
        combo->setCurrentIndex(-1);
    --state->programmatic;
    return index;
}

int CComboBox::DeleteString(int index) {
    QComboBox* combo = Combo(this);
    if (!combo || index < 0 || index >= combo->count())
        return CB_ERR;
    ComboState* state = StateOf<ComboState>(combo);
    ++state->programmatic;
    const bool wasCurrent = combo->currentIndex() == index;
    combo->removeItem(index);
    if (wasCurrent)
        combo->setCurrentIndex(-1);
    --state->programmatic;
    return combo->count();
}

void CComboBox::ResetContent() {
    if (QComboBox* combo = Combo(this)) {
        ComboState* state = StateOf<ComboState>(combo);
        ++state->programmatic;
        combo->clear();
        if (QLineEdit* edit = combo->lineEdit())
            edit->clear();
        --state->programmatic;
    }
}

int CComboBox::GetCount() const {
    QComboBox* combo = Combo(this);
    return combo ? combo->count() : CB_ERR;
}

int CComboBox::GetCurSel() const {
    QComboBox* combo = Combo(this);
    return combo && combo->currentIndex() >= 0 ? combo->currentIndex() : CB_ERR;
}

int CComboBox::SetCurSel(int index) {
    return static_cast<int>(
        const_cast<CComboBox*>(this)->DefWindowProc(CB_SETCURSEL, static_cast<WPARAM>(index), 0));
}

int CComboBox::GetLBText(int index, std::string& text) const {
    QComboBox* combo = Combo(this);
    if (!combo || index < 0 || index >= combo->count())
        return CB_ERR;
    text = combo->itemText(index).toStdString();
    return static_cast<int>(text.size());
}

std::string CComboBox::GetLBText(int index) const {
    std::string text;
    GetLBText(index, text);
    return text;
}

int CComboBox::GetLBTextLen(int index) const {
    std::string text;
    return GetLBText(index, text);
}

int CComboBox::FindString(int startAfter, const std::string& prefix) const {
    QComboBox* combo = Combo(this);
    if (!combo)
        return CB_ERR;
    const QString p = QString::fromStdString(prefix);
    return FindListItem(combo->count(), startAfter,
                        [&](int i) { return combo->itemText(i).startsWith(p, Qt::CaseInsensitive); });
}

int CComboBox::FindStringExact(int startAfter, const std::string& text) const {
    QComboBox* combo = Combo(this);
    if (!combo)
        return CB_ERR;
    const QString t = QString::fromStdString(text);
    return FindListItem(combo->count(), startAfter, [&](int i) {
        return QString::compare(combo->itemText(i), t, Qt::CaseInsensitive) == 0;
    });
}

int CComboBox::SelectString(int startAfter, const std::string& prefix) {
    const int index = FindString(startAfter, prefix);
    if (index != CB_ERR)
        SetCurSel(index);
    return index;
}

int CComboBox::SetItemData(int index, DWORD_PTR data) {
    QComboBox* combo = Combo(this);
    if (!combo || index < 0 || index >= combo->count())
        return CB_ERR;
    combo->setItemData(index, QVariant::fromValue<qulonglong>(data), kDataRole);
    return 0;
}

DWORD_PTR CComboBox::GetItemData(int index) const {
    QComboBox* combo = Combo(this);
    if (!combo || index < 0 || index >= combo->count())
        return static_cast<DWORD_PTR>(CB_ERR);
    return static_cast<DWORD_PTR>(combo->itemData(index, kDataRole).value<qulonglong>());
}

void CComboBox::ShowDropDown(BOOL show) {
    if (QComboBox* combo = Combo(this)) {
        if (show)
            combo->showPopup();
        else
            combo->hidePopup();
    }
}

BOOL CComboBox::GetDroppedState() const {
    QComboBox* combo = Combo(this);
    return combo && combo->view() && combo->view()->isVisible();
}

int CComboBox::SetDroppedWidth(UINT width) {
    QComboBox* combo = Combo(this);
    if (!combo)
        return CB_ERR;
    combo->view()->setMinimumWidth(static_cast<int>(width));
    return static_cast<int>(width);
}

BOOL CComboBox::LimitText(int maxChars) {
    QComboBox* combo = Combo(this);
    if (!combo || !combo->lineEdit())
        return FALSE;
    combo->lineEdit()->setMaxLength(maxChars <= 0 ? 0x7FFFFFFE : maxChars);
    return TRUE;
}

BOOL CComboBox::SetEditSel(int start, int end) {
    QComboBox* combo = Combo(this);
    if (!combo || !combo->lineEdit())
        return FALSE;
    QLineEdit* edit = combo->lineEdit();
    if (start < 0) {
        edit->deselect();
        return TRUE;
    }
    const int length = static_cast<int>(edit->text().size());
    if (end < 0 || end > length)
        end = length;
    edit->setSelection(std::min(start, length), end - std::min(start, length));
    return TRUE;
}

int CComboBox::SetItemHeight(int, UINT height) {
    QComboBox* combo = Combo(this);
    if (!combo)
        return CB_ERR;
    combo->view()->setStyleSheet(QString("QAbstractItemView::item { height: %1px; }").arg(height));
    return 0;
}
