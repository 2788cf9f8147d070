// The bare Qt window the start-up figures are measured against: Qt Widgets
// and nothing else, one window with one label. With --lista it also lists the
// files of usuarios/ beside it, and a selection writes the name in the label.
// --help prints a line and ends without making an application object.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QWidget>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    bool list = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::puts("Uso: bare_window [--lista]");
            return 0;
        }
        list = list || std::strcmp(argv[i], "--lista") == 0;
    }
    QApplication app(argc, argv);
    QWidget window;
    window.setObjectName(QStringLiteral("Bare"));
    window.setFixedSize(461, 423);
    auto* label = new QLabel(QStringLiteral("CIFRANO"), &window);
    label->setObjectName(QStringLiteral("Label1(0)"));
    label->setGeometry(20, 20, 300, 30);
    if (list) {
        auto* files = new QListWidget(&window);
        files->setObjectName(QStringLiteral("File1(0)"));
        files->setGeometry(20, 70, 200, 80);
        files->addItems(QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/usuarios"))
                            .entryList(QDir::Files, QDir::Name));
        QObject::connect(files, &QListWidget::itemSelectionChanged, label, [files, label] {
            const auto selected = files->selectedItems();
            if (!selected.isEmpty()) label->setText(selected.first()->text());
        });
    }
    window.show();
    return QApplication::exec();
}
