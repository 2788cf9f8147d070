#include "common/message_box_view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace cifrano {

void MessageBoxPrompts::Inform(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Cifrano"), QString::fromStdString(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar"));
    box.exec();
}

bool MessageBoxPrompts::AskYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Cifrano"), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Yes);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Sí"));
    box.button(QMessageBox::No)->setText(QStringLiteral("No"));
    return box.exec() == QMessageBox::Yes;
}

}  // namespace cifrano
