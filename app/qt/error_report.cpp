#include "app/qt/error_report.h"

#include <QApplication>
#include <QMessageBox>

namespace ornet5 {

void TErrorReport::Show(const std::string& caption, const std::string& text) {
    QWidget* parent = QApplication::activeWindow();
    if (parent == nullptr) {
        parent = mainWindow_;
    }
    QMessageBox box(QMessageBox::Critical, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Ok, parent);
    // Messages may quote what the user typed: never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace ornet5
