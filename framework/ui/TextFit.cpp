#include "framework/ui/TextFit.h"

#include "framework/ui/WndInternal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QTableView>

#include <climits>

namespace {

CSize SizeOf(const QSize& size) {
    return {size.width(), size.height()};
}

CRect RectOf(const QRect& rect) {
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

// The text's extent placed in its room as the control aligns it.
ControlText Entry(const QString& text, const QSize& extent, const QRect& room,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    const QRect where = QStyle::alignedRect(Qt::LeftToRight, align, extent, room);
    return ControlText{text.toStdString(), SizeOf(extent), CSize(room.width(), room.height()), RectOf(where)};
}

// The text as a button draws it: "&" marks the mnemonic and takes no room.
QSize ButtonTextExtent(const QWidget* widget, const QString& text) {
    return QFontMetrics(widget->font()).size(Qt::TextShowMnemonic, text);
}

// A push button draws its text centred inside its frame; the style's button margin keeps it off
// the frame, as the style itself allows when it sizes a button for its text.
ControlText PushButtonText(const QPushButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    if (button->isDefault())
        option.features |= QStyleOptionButton::DefaultButton;
    if (button->autoDefault())
        option.features |= QStyleOptionButton::AutoDefaultButton;
    const QStyle* style = button->style();
    QRect room = style->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, &option, button);
    room.adjust(margin / 2, 0, -(margin - margin / 2), 0);
    return Entry(button->text(), ButtonTextExtent(button, button->text()), room, Qt::AlignCenter);
}

// A check box or radio button draws its text right of its indicator and the gap after it.
ControlText IndicatorButtonText(const QAbstractButton* button, QStyle::SubElement contents) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QRect room = button->style()->subElementRect(contents, &option, button);
    return Entry(button->text(), ButtonTextExtent(button, button->text()), room);
}

// A group box draws its title inset from its left edge; the same inset is kept on the right.
ControlText GroupBoxText(const QGroupBox* box) {
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.textAlignment = box->alignment();
    option.lineWidth = 1;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect label =
        box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    const QRect room(label.left(), label.top(), box->width() - 2 * label.left(), label.height());
    return Entry(box->title(), ButtonTextExtent(box, box->title()), room, Qt::AlignLeft | Qt::AlignTop);
}

// A label lays its text out inside its frame, less the indent a framed label keeps on the sides it
// is aligned to (the label's own rule), wrapping at word boundaries when it wraps.
ControlText LabelText(const QLabel* label) {
    QRect room = label->contentsRect();
    const Qt::Alignment align = label->alignment();
    int indent = label->indent();
    if (indent < 0 && label->frameWidth() > 0)
        indent = label->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - label->margin();
    if (indent > 0) {
        if (align & Qt::AlignLeft)
            room.setLeft(room.left() + indent);
        if (align & Qt::AlignRight)
            room.setRight(room.right() - indent);
        if (align & Qt::AlignTop)
            room.setTop(room.top() + indent);
        if (align & Qt::AlignBottom)
            room.setBottom(room.bottom() - indent);
    }
    const int margin = label->margin();
    room.adjust(margin, margin, -margin, -margin);
    const QFontMetrics metrics(label->font());
    const QString text = label->text();
    // An empty label is a field filled later: it must hold one line.
    const QSize extent =
        text.isEmpty() ? QSize(0, metrics.height())
        : label->wordWrap()
            ? metrics
                  .boundingRect(QRect(0, 0, std::max(1, room.width()), INT_MAX / 2),
                                Qt::TextWordWrap | static_cast<int>(align & Qt::AlignHorizontal_Mask), text)
                  .size()
            : metrics.size(0, text);
    return Entry(text, extent, room, align);
}

// A one-line edit shows its text inside its frame and the edit's own small side margins.
ControlText LineEditText(const QLineEdit* edit) {
    constexpr int kSideMargin = 2; // the line edit's fixed gap between frame and text
    const QRect room =
        edit->contentsRect().marginsRemoved(edit->textMargins()).adjusted(kSideMargin, 0, -kSideMargin, 0);
    const QFontMetrics metrics(edit->font());
    return Entry(edit->text(), QSize(metrics.horizontalAdvance(edit->text()), metrics.height()), room,
                 edit->alignment());
}

// A combo box shows the chosen item on one line in its field beside the arrow; any item may be chosen.
std::vector<ControlText> ComboTexts(const QComboBox* combo) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.frame = combo->hasFrame();
    const QRect room =
        combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
    const QFontMetrics metrics(combo->font());
    std::vector<ControlText> texts;
    for (int i = 0; i < combo->count(); ++i) {
        const QString shown = ShownLine(combo->itemText(i));
        texts.push_back(Entry(shown, metrics.size(0, shown), room));
    }
    return texts;
}

} // namespace

std::vector<ControlText> MeasureControlTexts(const CWnd& control) {
    const QWidget* widget = control.GetWidget();
    std::vector<ControlText> texts;
    if (!widget)
        return texts;
    if (const auto* push = qobject_cast<const QPushButton*>(widget))
        texts.push_back(PushButtonText(push));
    else if (const auto* check = qobject_cast<const QCheckBox*>(widget))
        texts.push_back(IndicatorButtonText(check, QStyle::SE_CheckBoxContents));
    else if (const auto* radio = qobject_cast<const QRadioButton*>(widget))
        texts.push_back(IndicatorButtonText(radio, QStyle::SE_RadioButtonContents));
    else if (const auto* box = qobject_cast<const QGroupBox*>(widget))
        texts.push_back(GroupBoxText(box));
    else if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        if (label->pixmap().isNull())
            texts.push_back(LabelText(label));
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        texts.push_back(LineEditText(edit));
    else if (const auto* combo = qobject_cast<const QComboBox*>(widget))
        texts = ComboTexts(combo);
    // A field shows what the program puts there later; a button, box, list, line or frame without a
    // text shows none.
    const unsigned kind = control.GetStyle() & SS_TYPEMASK;
    const bool textStatic = kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT || kind == SS_SIMPLE ||
                            kind == SS_LEFTNOWORDWRAP;
    const bool field =
        (qobject_cast<const QLabel*>(widget) && textStatic) || qobject_cast<const QLineEdit*>(widget);
    if (!field)
        std::erase_if(texts, [](const ControlText& t) { return t.text.empty(); });
    return texts;
}

std::vector<ControlText> MeasureControlPicture(const CWnd& control) {
    const auto* label = qobject_cast<const QLabel*>(control.GetWidget());
    if (!label || label->pixmap().isNull())
        return {};
    const QPixmap picture = label->pixmap();
    const QSize extent = (QSizeF(picture.size()) / picture.devicePixelRatio()).toSize();
    return {Entry(QStringLiteral("picture"), extent, label->contentsRect(), label->alignment())};
}

namespace {

// The rectangle whose four lines a widget paints, found as the outermost rows and columns painted
// along at least half their length; empty when a side is missing.
CRect PaintedFrame(QWidget* widget) {
    QImage image(widget->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    const auto painted = [&](int x, int y) { return qAlpha(image.pixel(x, y)) != 0; };
    const auto longestRun = [&](bool row, int at) {
        int longest = 0, run = 0;
        const int length = row ? image.width() : image.height();
        for (int i = 0; i < length; ++i) {
            run = (row ? painted(i, at) : painted(at, i)) ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        return longest;
    };
    const auto isLine = [&](bool row, int at) {
        return longestRun(row, at) >= (row ? image.width() : image.height()) / 2;
    };
    int top = 0, bottom = image.height() - 1, left = 0, right = image.width() - 1;
    while (top < image.height() && !isLine(true, top))
        ++top;
    while (bottom > top && !isLine(true, bottom))
        --bottom;
    while (left < image.width() && !isLine(false, left))
        ++left;
    while (right > left && !isLine(false, right))
        --right;
    if (top >= bottom || left >= right)
        return {};
    return {left, top, right + 1, bottom + 1};
}

} // namespace

CRect GroupBoxFrame(const CWnd& control) {
    auto* box = qobject_cast<QGroupBox*>(control.GetWidget());
    if (!box || box->width() < 4 || box->height() < 4)
        return {};
    // Where the style puts the frame differs from style to style (beside the title, under it): the
    // frame is found where the box paints it.
    return PaintedFrame(box);
}

std::optional<CRect> FieldFrame(const CWnd& control) {
    auto* label = qobject_cast<QLabel*>(control.GetWidget());
    if (!label || label->frameShape() == QFrame::NoFrame || label->width() < 4 || label->height() < 4)
        return std::nullopt;
    return PaintedFrame(label);
}

std::vector<ControlText> MeasurePaneTexts(const CStatusBar& bar) {
    std::vector<ControlText> texts;
    for (int i = 0; i < bar.GetCount(); ++i) {
        CRect room;
        bar.GetPaneTextRect(i, &room);
        const std::string text = bar.GetPaneText(i);
        texts.push_back(
            ControlText{text, bar.GetTextExtent(text), CSize(room.Width(), room.Height()), CRect()});
    }
    return texts;
}

std::vector<ControlText> MeasureListTexts(const CListCtrl& list) {
    std::vector<ControlText> texts;
    const auto* table = qobject_cast<const QTableView*>(list.GetWidget());
    if (!table)
        return texts;
    // What lies right of the visible width at the list's first sideways position is out of sight.
    const QHeaderView* header = table->horizontalHeader();
    const int visible = table->viewport()->width();
    const auto shown = [&](int left, int right) { return std::max(0, std::min(right, visible) - left); };
    // A heading is drawn inside the header's margins on both sides of its section.
    const int headerMargin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int column = 0; column < list.GetColumnCount(); ++column) {
        const QString heading = table->model()->headerData(column, Qt::Horizontal).toString();
        const QSize extent = QFontMetrics(header->font()).size(0, heading);
        const int left = header->sectionPosition(column) + headerMargin;
        const int right = header->sectionPosition(column) + header->sectionSize(column) - headerMargin;
        texts.push_back(Entry(heading, extent, QRect(left, 0, shown(left, right), header->height())));
    }
    const int scrolled = table->viewport()->geometry().left() - header->offset();
    for (int row = 0; row < list.GetItemCount(); ++row)
        for (int column = 0; column < list.GetColumnCount(); ++column) {
            CRect room;
            list.GetCellTextRect(row, column, &room);
            room.OffsetRect(-scrolled, 0);
            room.right = room.left + shown(room.left, room.right);
            const CSize extent = list.GetCellTextExtent(row, column);
            texts.push_back(ControlText{list.GetItemText(row, column), extent,
                                        CSize(room.Width(), room.Height()), CRect()});
        }
    std::erase_if(texts, [](const ControlText& t) { return t.text.empty(); });
    return texts;
}
