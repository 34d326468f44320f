#include "framework/ui/Fonts.h"

#include "framework/core/Paths.h"

#include <QApplication>
#include <QFontDatabase>
#include <QProxyStyle>
#include <QStringList>

#include <cctype>
#include <mutex>

namespace {

bool g_tahoma = false;
bool g_msSansSerif = false;

std::string Lower(const std::string& text) {
    std::string out;
    for (char c : text)
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

class TemplateStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_ButtonMargin)
            return 2;
        return QProxyStyle::pixelMetric(metric, option, widget);
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
