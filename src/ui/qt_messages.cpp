#include "ui/qt_messages.h"

#include <QApplication>
#include <QMessageBox>

namespace ai::ui {

void QtMessages::message(const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Analyse d'image"),
                    QString::fromStdString(text), QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace ai::ui
