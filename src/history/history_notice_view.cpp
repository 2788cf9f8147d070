#include "history/history_notice_view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace cifrano {

HistoryRecorder::Notice MessageBoxNotice() {
    return [](const std::string& text) {
        auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Cifrano"),
                                    QString::fromStdString(text), QMessageBox::Ok,
                                    QApplication::activeWindow());
        box->button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar"));
        box->setObjectName(QStringLiteral("AvisoHistorial"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::NonModal);
        box->show();  // never exec(): the game's clock keeps running
    };
}

}  // namespace cifrano
