// The bare Qt window the start-up figures are measured against: Qt Widgets
// and nothing else, one window with one label. With --lista it also lists the
// files of usuarios/ beside it, and a selection writes the name in the label.
// With --textos it shows the splash's nine texts in the splash's five fonts
// instead of the one label (what fonts alone cost a first frame).
// --help prints a line and ends without making an application object.
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QWidget>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    bool list = false;
    bool texts = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::puts("Uso: bare_window [--lista] [--textos]");
            return 0;
        }
        list = list || std::strcmp(argv[i], "--lista") == 0;
        texts = texts || std::strcmp(argv[i], "--textos") == 0;
    }
    QApplication app(argc, argv);
    QWidget window;
    window.setObjectName(QStringLiteral("Bare"));
    window.setFixedSize(461, 423);
    auto* label = new QLabel(QStringLiteral("CIFRANO"), &window);
    label->setObjectName(QStringLiteral("Label1(0)"));
    label->setGeometry(20, 20, 300, 30);
    if (texts) {
        struct Text {
            const char* text;
            int pixels;
            bool bold;
        };
        const Text splash[] = {
            {"Juego de cálculo mental", 21, false},
            {"Creado por el equipo de Cifrano", 19, false},
            {"cifrano@example.org", 19, false},
            {"Diciembre de 2026", 19, false},
            {"Este programa es gratuito", 19, false},
            {"800x600 resolución óptima", 19, false},
            {"© 2026 Equipo de Cifrano. Todos los derechos reservados.", 12, false},
            {"CONTINUAR", 32, true},
        };
        const auto font = [](int pixels, bool bold) {
            QFont f(QStringLiteral("Arial"));
            f.setStyleHint(QFont::SansSerif);
            f.setPixelSize(pixels);
            f.setBold(bold);
            return f;
        };
        label->setFont(font(64, true));
        label->setGeometry(20, 20, 420, 80);
        int top = 100;
        for (const Text& t : splash) {
            auto* line = new QLabel(QString::fromUtf8(t.text), &window);
            line->setFont(font(t.pixels, t.bold));
            line->setGeometry(20, top, 420, 36);
            top += 36;
        }
    }
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
