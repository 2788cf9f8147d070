// What a player sees, from a fresh process each time, against a bare Qt
// window (bare_window) in the same run:
//   exec -> first painted window            the splash, or the bare window;
//                                           also against a bare window with
//                                           the splash's texts and fonts
//   exec -> game screen painted             driven through the screens with
//                                           two 4000x3000 players; resident
//                                           memory there
//   click -> repaint, click -> picture      a user of about 0.1, 1, 12 and
//                                           17 MB picked on the player
//                                           selection (the bare window: a
//                                           list whose pick writes a label);
//                                           the picture also when picked 1 s
//                                           after the names are shown, and
//                                           when picked at once after 1 s on
//                                           the splash (a reader's pace)
//   exec -> exit of --help
// The runs alternate bare, game, bare, game ... and each figure is the median
// of --runs runs (7 by default). Frames are timed by paint_probe, preloaded
// into both programs. Uses the platform in QT_QPA_PLATFORM (xcb needs
// DISPLAY); bench/startup.sh runs it on Xvfb and offscreen.
//
//   bench_startup [--runs N] [--keep FOLDER]
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

long long Now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1'000'000'000LL + t.tv_nsec;
}

double Median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// A photograph's kind of content: broad gradients, a face-like oval, and
// grain of the given strength, which sets how well the file compresses.
QImage PhotoLike(QSize size, int grain, quint32 seed) {
    QImage image(size, QImage::Format_RGB32);
    quint32 state = seed | 1u;
    const double cx = size.width() / 2.0;
    const double cy = size.height() / 2.2;
    const double rx = size.width() / 5.0;
    const double ry = size.height() / 3.2;
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double fy = double(y) / size.height();
        for (int x = 0; x < size.width(); ++x) {
            const double fx = double(x) / size.width();
            int r = int(60 + 120 * fx);
            int g = int(90 + 80 * fy);
            int b = int(170 - 90 * fx * fy);
            const double dx = (x - cx) / rx;
            const double dy = (y - cy) / ry;
            if (dx * dx + dy * dy < 1.0) {
                r = 225 - int(30 * dy);
                g = 180 - int(30 * dy);
                b = 150;
            } else if (y > size.height() * 0.72 && std::abs(x - cx) < size.width() * 0.3) {
                r = 40, g = 60, b = int(120 + 40 * fy);
            }
            if (grain > 0) {
                state ^= state << 13, state ^= state >> 17, state ^= state << 5;
                const int n = int(state % (2 * grain + 1)) - grain;
                r += n, g += n / 2 + int((state >> 8) % 3) - 1, b -= n / 2;
            }
            line[x] = qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
        }
    }
    return image;
}

struct Picture {
    QString file;
    QSize size;
    int grain;
    int quality;
};

// About 0.1, 1, 12 and 17 MB; the 1 and 12 MB ones are the two 4000x3000
// JPEG players of the game figure, the 17 MB one a PNG of the same size.
const std::vector<Picture> kPictures = {
    {"Marta.jpg", {800, 600}, 24, 85},
    {"Pablo.jpg", {4000, 3000}, 8, 85},
    {"Jorge.jpg", {4000, 3000}, 64, 97},
    {"Irene.png", {4000, 3000}, 9, -1},
};

struct Run {
    std::map<std::string, std::vector<long long>> events;
    long long start = 0;
    long long end = 0;
    bool ok = false;
    std::optional<double> Millis(const std::string& event, const std::string& from = {}) const {
        const auto e = events.find(event);
        if (e == events.end() || e->second.empty()) return std::nullopt;
        long long origin = start;
        if (!from.empty()) {
            const auto f = events.find(from);
            if (f == events.end() || f->second.empty()) return std::nullopt;
            origin = f->second.front();
        }
        return (e->second.front() - origin) / 1e6;
    }
};

class Bench {
  public:
    Bench(QString folder) : folder_(std::move(folder)) {}

    // Starts the program with the probe and its script, waits for its end.
    Run Start(const QString& program, const QStringList& args, const QString& script,
              bool probe = true) {
        const QString log = folder_ + QStringLiteral("/probe.log");
        QFile::remove(log);
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            const std::string entry(*e);
            if (entry.rfind("CIFRANO_PROBE_", 0) == 0 || entry.rfind("LD_PRELOAD=", 0) == 0)
                continue;
            env.push_back(entry);
        }
        if (probe) {
            env.push_back("LD_PRELOAD=" + std::string(CIFRANO_PAINT_PROBE));
            env.push_back("CIFRANO_PROBE_LOG=" + log.toStdString());
            env.push_back("CIFRANO_PROBE_SCRIPT=" + script.toStdString());
        }
        std::vector<char*> envp;
        for (std::string& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        std::vector<std::string> argStrings{program.toStdString()};
        for (const QString& a : args) argStrings.push_back(a.toStdString());
        std::vector<char*> argv;
        for (std::string& a : argStrings) argv.push_back(a.data());
        argv.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        Run run;
        pid_t pid = 0;
        run.start = Now();
        const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) return run;
        int status = 0;
        // The probe ends every run within 30 s; this is the last resort.
        for (int waited = 0; waitpid(pid, &status, WNOHANG) == 0; ++waited) {
            if (waited > 40000) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                return run;
            }
            usleep(1000);
        }
        run.end = Now();
        run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        QFile file(log);
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : file.readAll().split('\n')) {
                const QList<QByteArray> words = line.split(' ');
                if (words.size() < 2) continue;
                const std::string event = words[0].toStdString();
                if (event == "painted") continue;
                run.events[event].push_back(words[1].toLongLong());
                if ((event == "game" || event == "first") && words.size() > 2)
                    run.events["rss " + event].push_back(words[2].toLongLong());
                if (event == "timeout" || event == "missing") run.ok = false;
            }
        }
        return run;
    }

  private:
    QString folder_;
};

struct Row {
    std::string figure;
    std::vector<double> bare;
    std::vector<double> game;
    std::string note;
};

void PrintRow(const Row& row) {
    const double bare = Median(row.bare);
    const double game = Median(row.game);
    char ratio[32] = "-";
    if (bare > 0 && game >= 0) std::snprintf(ratio, sizeof ratio, "%.2f", game / bare);
    std::printf("%-44s %9.2f %9.2f %7s  %s\n", row.figure.c_str(), bare, game, ratio,
                row.note.c_str());
    std::fflush(stdout);
}

bool CopyInto(const QString& from, const QString& to) {
    QFile::remove(to);
    return QFile::copy(from, to);
}

void CopyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QFileInfo& entry :
         QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (entry.isDir()) {
            CopyFolder(entry.filePath(), to + QLatin1Char('/') + entry.fileName());
        } else {
            CopyInto(entry.filePath(), to + QLatin1Char('/') + entry.fileName());
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int runs = 7;
    QString keep;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--runs")) runs = std::max(1, args[i + 1].toInt());
        if (args[i] == QLatin1String("--keep")) keep = args[i + 1];
    }
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("xcb"));
    qputenv("QT_QPA_PLATFORM", platform.toUtf8());

    // An application folder of its own: the program, its sound module, the
    // bare window, the default data and the generated pictures.
    QTemporaryDir temporary;
    const QString folder = keep.isEmpty() ? temporary.path() : keep;
    QDir().mkpath(folder);
    CopyFolder(QStringLiteral(CIFRANO_DATA_DIR), folder);
    const QString program = folder + QStringLiteral("/cifrano");
    const QString bare = folder + QStringLiteral("/bare_window");
    CopyInto(QStringLiteral(CIFRANO_PROGRAM), program);
    CopyInto(QStringLiteral(CIFRANO_SOUND_MODULE), folder + QStringLiteral("/libcifrano_sound.so"));
    CopyInto(QStringLiteral(CIFRANO_BARE_WINDOW), bare);
    for (const QString& p : {program, bare})
        QFile::setPermissions(p, QFile::permissions(p) | QFile::ExeOwner | QFile::ExeUser);
    std::vector<QString> sizes;
    for (const Picture& picture : kPictures) {
        const QString path = folder + QStringLiteral("/usuarios/") + picture.file;
        if (!QFileInfo::exists(path)) {
            QImageWriter writer(path);
            if (picture.quality > 0) writer.setQuality(picture.quality);
            writer.write(PhotoLike(picture.size, picture.grain, 7u + quint32(picture.grain)));
        }
        sizes.push_back(QString::number(QFileInfo(path).size() / 1e6, 'f', 2));
    }

    Bench bench(folder);
    std::printf("platform %s, medians of %d runs, bare window / game alternating, in ms\n",
                qPrintable(platform), runs);
    std::printf("%-44s %9s %9s %7s\n", "figure", "bare", "game", "ratio");

    Row first{"exec -> first painted window", {}, {}, ""};
    // The same splash against a bare window showing its texts in its fonts.
    Row firstTexts{"  bare window with the splash's texts", {}, {}, ""};
    Row game{"exec -> game screen painted (2 x 4000x3000)", {}, {}, ""};
    std::vector<double> rss;
    Row help{"exec -> exit of --help", {}, {}, ""};
    std::vector<double> bareRss;
    std::vector<double> gameRss;
    for (int i = 0; i < runs; ++i) {
        const Run b = bench.Start(bare, {}, QStringLiteral("first"));
        if (auto t = b.Millis("first")) first.bare.push_back(*t);
        if (b.events.count("rss first"))
            bareRss.push_back(b.events.at("rss first").front() / 1024.0);
        const Run g = bench.Start(program, {}, QStringLiteral("first"));
        if (auto t = g.Millis("first")) first.game.push_back(*t);
        if (g.events.count("rss first"))
            gameRss.push_back(g.events.at("rss first").front() / 1024.0);
        const Run texts = bench.Start(bare, {QStringLiteral("--textos")}, QStringLiteral("first"));
        if (auto t = texts.Millis("first")) firstTexts.bare.push_back(*t);
    }
    firstTexts.game = first.game;
    first.note = "resident memory " + QString::number(Median(bareRss), 'f', 1).toStdString() +
                 " / " + QString::number(Median(gameRss), 'f', 1).toStdString() + " MB";
    PrintRow(first);
    PrintRow(firstTexts);
    for (int i = 0; i < runs; ++i) {
        if (auto t = bench.Start(bare, {}, QStringLiteral("first")).Millis("first"))
            game.bare.push_back(*t);
        const Run run = bench.Start(program, {}, QStringLiteral("game:Pablo.jpg,Jorge.jpg"));
        if (auto t = run.Millis("game")) game.game.push_back(*t);
        if (run.events.count("rss game")) rss.push_back(run.events.at("rss game").front() / 1024.0);
    }
    game.note =
        "resident memory there " + QString::number(Median(rss), 'f', 1).toStdString() + " MB";
    PrintRow(game);
    for (int i = 0; i < runs; ++i) {
        Run b = bench.Start(bare, {QStringLiteral("--help")}, {}, false);
        if (b.ok) help.bare.push_back((b.end - b.start) / 1e6);
        Run g = bench.Start(program, {QStringLiteral("--help")}, {}, false);
        if (g.ok) help.game.push_back((g.end - g.start) / 1e6);
    }
    PrintRow(help);
    for (std::size_t k = 0; k < kPictures.size(); ++k) {
        const Picture& picture = kPictures[k];
        const QString script = QStringLiteral("pick:") + picture.file;
        const std::string what = picture.file.toStdString() + " " + sizes[k].toStdString() +
                                 " MB " + std::to_string(picture.size.width()) + "x" +
                                 std::to_string(picture.size.height());
        Row click{"click -> repaint, " + what, {}, {}, ""};
        std::vector<double> shown;
        std::vector<double> shownLater;  // picked a second after the names appear
        std::vector<double> shownRead;   // picked at once, after a second on the splash
        for (int i = 0; i < runs; ++i) {
            const Run b = bench.Start(bare, {QStringLiteral("--lista")}, script);
            if (auto t = b.Millis("repainted", "click")) click.bare.push_back(*t);
            const Run g = bench.Start(program, {}, script);
            if (auto t = g.Millis("repainted", "click")) click.game.push_back(*t);
            if (auto t = g.Millis("picture", "click")) shown.push_back(*t);
            const Run later = bench.Start(program, {}, script + QStringLiteral(":1000"));
            if (auto t = later.Millis("picture", "click")) shownLater.push_back(*t);
            const Run read = bench.Start(program, {}, script + QStringLiteral(":0:1000"));
            if (auto t = read.Millis("picture", "click")) shownRead.push_back(*t);
        }
        click.note = "picture shown after " + QString::number(Median(shown), 'f', 2).toStdString() +
                     " ms; picked after 1 s: " +
                     QString::number(Median(shownLater), 'f', 2).toStdString() +
                     " ms; at once after 1 s on the splash: " +
                     QString::number(Median(shownRead), 'f', 2).toStdString() + " ms";
        PrintRow(click);
    }
    return 0;
}
