#pragma once
// Answers the real print dialog (Qt's, as the program shows it) from the event loop, as a user would:
// "Print to File (PDF)" chosen, the file name typed, then the accept button; or Cancel. Armed before
// the command that opens the dialog, it looks among the top-level windows until the dialog shows.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QTimer>

#include <memory>
#include <string>

struct SeenPrintDialog {
    bool shown = false;
    QString title;
    int minPage = 0;
    int maxPage = 0;
};

// An empty path cancels the dialog. Gives up after about five seconds, so a dialog that never shows
// fails the test instead of hanging it.
inline std::shared_ptr<SeenPrintDialog> AnswerNextPrintDialog(const std::string& pdfPath) {
    auto seen = std::make_shared<SeenPrintDialog>();
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, seen, tries, pdfPath] {
        QPrintDialog* dialog = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* candidate = qobject_cast<QPrintDialog*>(top); candidate && candidate->isVisible())
                dialog = candidate;
        if (!dialog) {
            if (++*tries > 500)
                timer->deleteLater();
            return;
        }
        timer->stop();
        timer->deleteLater();
        seen->shown = true;
        seen->title = dialog->windowTitle();
        seen->minPage = dialog->minPage();
        seen->maxPage = dialog->maxPage();
        if (pdfPath.empty()) {
            dialog->reject();
            return;
        }
        // The file entry comes last in the printer list, after any system printers.
        if (auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers")))
            printers->setCurrentIndex(printers->count() - 1);
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("filename")))
            name->setText(QString::fromStdString(pdfPath));
        dialog->accept();
    });
    timer->start(10);
    return seen;
}
