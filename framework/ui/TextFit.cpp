#include "framework/ui/TextFit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
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

ControlText Entry(const QString& text, const QSize& extent, const QRect& room) {
    return ControlText{text.toStdString(), SizeOf(extent), CSize(room.width(), room.height())};
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
    return Entry(button->text(), ButtonTextExtent(button, button->text()), room);
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
    return Entry(box->title(), ButtonTextExtent(box, box->title()), room);
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
    const QSize extent =
        label->wordWrap()
            ? metrics
                  .boundingRect(QRect(0, 0, std::max(1, room.width()), INT_MAX / 2),
                                Qt::TextWordWrap | static_cast<int>(align & Qt::AlignHorizontal_Mask), text)
                  .size()
            : metrics.size(0, text);
    return Entry(text, extent, room);
}

// A one-line edit shows its text inside its frame and the edit's own small side margins.
ControlText LineEditText(const QLineEdit* edit) {
    constexpr int kSideMargin = 2; // the line edit's fixed gap between frame and text
    const QRect room =
        edit->contentsRect().marginsRemoved(edit->textMargins()).adjusted(kSideMargin, 0, -kSideMargin, 0);
    return Entry(edit->text(), QFontMetrics(edit->font()).size(0, edit->text()), room);
}

// A combo box shows the chosen item in its field beside the arrow; any item may be chosen.
std::vector<ControlText> ComboTexts(const QComboBox* combo) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.frame = combo->hasFrame();
    const QRect room =
        combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
    const QFontMetrics metrics(combo->font());
    std::vector<ControlText> texts;
    for (int i = 0; i < combo->count(); ++i)
        texts.push_back(Entry(combo->itemText(i), metrics.size(0, combo->itemText(i)), room));
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
    std::erase_if(texts, [](const ControlText& t) { return t.text.empty(); });
    return texts;
}

std::vector<ControlText> MeasurePaneTexts(const CStatusBar& bar) {
    std::vector<ControlText> texts;
    for (int i = 0; i < bar.GetCount(); ++i) {
        CRect room;
        bar.GetPaneTextRect(i, &room);
        const std::string text = bar.GetPaneText(i);
        texts.push_back(ControlText{text, bar.GetTextExtent(text), CSize(room.Width(), room.Height())});
    }
    return texts;
}

std::vector<ControlText> MeasureListTexts(const CListCtrl& list) {
    std::vector<ControlText> texts;
    const auto* table = qobject_cast<const QTableView*>(list.GetWidget());
    if (!table)
        return texts;
    // A heading is drawn inside the header's margins on both sides of its section.
    const QHeaderView* header = table->horizontalHeader();
    const int headerMargin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int column = 0; column < list.GetColumnCount(); ++column) {
        const QString heading = table->model()->headerData(column, Qt::Horizontal).toString();
        const QSize extent = QFontMetrics(header->font()).size(0, heading);
        texts.push_back(Entry(heading, extent,
                              QRect(0, 0, header->sectionSize(column) - 2 * headerMargin, header->height())));
    }
    for (int row = 0; row < list.GetItemCount(); ++row)
        for (int column = 0; column < list.GetColumnCount(); ++column) {
            CRect room;
            list.GetCellTextRect(row, column, &room);
            const std::string text = list.GetItemText(row, column);
            texts.push_back(ControlText{text, list.GetTextExtent(text), CSize(room.Width(), room.Height())});
        }
    std::erase_if(texts, [](const ControlText& t) { return t.text.empty(); });
    return texts;
}
