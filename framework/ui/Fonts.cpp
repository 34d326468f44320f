#include "framework/ui/Fonts.h"

#include "framework/core/Paths.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QProxyStyle>
#include <QRawFont>
#include <QStringList>
#include <QStyleOption>
#include <QtEndian>

#include <cctype>
#include <cmath>
#include <mutex>
#include <utility>

namespace {

bool g_tahoma = false;
bool g_msSansSerif = false;

std::string Lower(const std::string& text) {
    std::string out;
    for (char c : text)
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

struct WindowsCell {
    double ascent = 0;
    double descent = 0;
};

// Pixels of the OS/2 table's Windows ascent and descent; none (zero) without a usable table or
// where they are out of step with the font's own height.
WindowsCell WindowsCellOf(const QFont& font) {
    const QRawFont raw = QRawFont::fromFont(font);
    const QByteArray os2 = raw.isValid() ? raw.fontTable("OS/2") : QByteArray();
    if (os2.size() < 78 || raw.unitsPerEm() <= 0)
        return {};
    const double scale = raw.pixelSize() / raw.unitsPerEm();
    const WindowsCell cell{qFromBigEndian<quint16>(os2.constData() + 74) * scale,
                           qFromBigEndian<quint16>(os2.constData() + 76) * scale};
    const double qtHeight = QFontMetricsF(font).height();
    const double height = cell.ascent + cell.descent;
    return height + 1.0 >= qtHeight && height <= 2.0 * qtHeight ? cell : WindowsCell{};
}

class TemplateStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_ButtonMargin)
            return 2;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
    // The templates place the controls of a group box under a frame whose top line runs through the
    // middle of the title, as the platform they were laid out for draws it; some styles draw it
    // under the title, through the first row of controls. The title itself is left out of the frame
    // by the style's clip.
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element != PE_FrameGroupBox || !painter) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const QRect frame = option->rect.adjusted(0, option->fontMetrics.height() / 2, 0, 0);
        painter->save();
        painter->setBrush(Qt::NoBrush);
        painter->setPen(option->palette.color(QPalette::Mid));
        painter->drawRect(frame.adjusted(0, 0, -2, -2));
        painter->setPen(option->palette.color(QPalette::Light));
        painter->drawRect(frame.adjusted(1, 1, -1, -1));
        painter->restore();
    }
};

} // namespace

void InstallTemplateStyle() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QApplication::setStyle(new TemplateStyle(QApplication::style()->name()));
}

bool RegisterTemplateFonts() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const std::string& file : TemplateFontFiles())
            QFontDatabase::addApplicationFont(QString::fromStdString(file));
        // Installed through fontconfig counts as well.
        const QStringList families = QFontDatabase::families();
        g_tahoma = families.contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive);
        g_msSansSerif = families.contains(QStringLiteral("MS Sans Serif"), Qt::CaseInsensitive);
    });
    return g_tahoma;
}

bool TemplateFaceAvailable() {
    return g_tahoma;
}

QString FamilyOfFace(const std::string& face) {
    const std::string lower = Lower(face);
    const QString fallback = QStringLiteral("Sans Serif");
    if (lower == "ms sans serif" && g_msSansSerif)
        return QStringLiteral("MS Sans Serif");
    if (lower.empty() || lower == "ms shell dlg" || lower == "ms shell dlg 2" || lower == "ms sans serif" ||
        lower == "system" || lower == "tahoma")
        return g_tahoma ? QStringLiteral("Tahoma") : fallback;
    return QString::fromStdString(face);
}

double TemplateCellHeightF(const QFont& font) {
    const WindowsCell cell = WindowsCellOf(font);
    return cell.ascent > 0 ? cell.ascent + cell.descent : QFontMetricsF(font).height();
}

int TemplateCellHeight(const QFont& font) {
    const WindowsCell cell = WindowsCellOf(font);
    const int height = static_cast<int>(std::lround(cell.ascent) + std::lround(cell.descent));
    const int qtHeight = QFontMetrics(font).height();
    return height >= qtHeight ? height : qtHeight;
}

double TemplateAverageCharWidth(const QFontMetricsF& metrics) {
    static constexpr std::pair<char, int> weights[] = {
        {'a', 64}, {'b', 14}, {'c', 27}, {'d', 35}, {'e', 100}, {'f', 20}, {'g', 14}, {'h', 42}, {'i', 63},
        {'j', 3},  {'k', 6},  {'l', 35}, {'m', 20}, {'n', 56},  {'o', 56}, {'p', 17}, {'q', 4},  {'r', 49},
        {'s', 56}, {'t', 71}, {'u', 31}, {'v', 10}, {'w', 18},  {'x', 3},  {'y', 18}, {'z', 2},  {' ', 166}};
    double sum = 0;
    for (const auto& [letter, weight] : weights)
        sum += weight * metrics.horizontalAdvance(QChar(letter));
    return sum / 1000.0;
}
