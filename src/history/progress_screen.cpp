#include "history/progress_screen.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCollator>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

#include "common/controls_view.h"
#include "history/history_export.h"
#include "history/progress_chart_view.h"
#include "history/sqlite_history.h"

namespace cifrano {

namespace {

enum Column { kDate, kType, kMinutes, kHits, kErrors, kRate, kColumns };

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString Rate(double rate) {
    return Q(RateText(rate, UserDecimalSeparator())) + QStringLiteral(" op/min");
}

QString Counted(int count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QString::fromUtf8(count == 1 ? one : many));
}

QLabel* Caption(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(DesignFont(12, true));
    SetTextColour(label, colours::kPlayerOne);
    if (buddy) label->setBuddy(buddy);
    return label;
}

QPushButton* Button(const QString& text, Rgb face, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setFont(DesignFont(12, true));
    button->setMinimumSize(170, 40);
    SetFaceColour(button, face);
    return button;
}

}  // namespace

char UserDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 0x80 ? point.at(0).toLatin1() : '.';
}

void GameTableModel::SetGames(std::vector<FinishedGame> gamesOldestFirst, std::size_t best) {
    beginResetModel();
    games_ = std::move(gamesOldestFirst);
    best_ = best;
    endResetModel();
}

int GameTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(Games().size());
}

int GameTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant GameTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const std::size_t at = Games().size() - 1 - static_cast<std::size_t>(index.row());
    const FinishedGame& game = games_[at];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
            case kDate:
                return Q(ShortDateTime(game.PlayedAt));
            case kType:
                return Q(game.Operation);
            case kMinutes:
                return game.Minutes;
            case kHits:
                return game.Hits;
            case kErrors:
                return game.Errors;
            case kRate:
                return Q(RateText(game.Rate, UserDecimalSeparator()));
            default:
                return {};
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() >= kMinutes)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::FontRole && at == best_) return DesignFont(10, true);
    if (role == Qt::ForegroundRole && at == best_) return ToQColor(colours::kRed).darker(130);
    if (role == Qt::ToolTipRole) {
        QString tip = at == best_ ? QStringLiteral("Mejor marca. ") : QString();
        if (game.PairNumber > 0)
            tip += QStringLiteral("Partida %1 contra %2.").arg(game.PairNumber).arg(Q(game.Rival));
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
    return {};
}

QVariant GameTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kHeaders[kColumns] = {"Fecha",    "Tipo",    "Minutos",
                                                   "Aciertos", "Errores", "op/min"};
    return section >= 0 && section < kColumns ? QString::fromUtf8(kHeaders[section]) : QVariant();
}

ProgressScreen::ProgressScreen(GameHistory& history, QWidget* parent)
    : QWidget(parent, Qt::Window), history_(history) {
    setObjectName(QStringLiteral("Progreso"));
    setWindowTitle(QStringLiteral("Progreso"));
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, ToQColor(colours::kResultsBackground));
    setPalette(background);
    setFont(DesignFont(12));

    auto* title = new QLabel(QStringLiteral("Progreso"), this);
    title->setFont(DesignFont(18, true));
    SetTextColour(title, colours::kPlayerOne);

    players_ = new QComboBox(this);
    players_->setObjectName(QStringLiteral("Jugador"));
    players_->setMinimumWidth(200);
    operations_ = new QComboBox(this);
    operations_->setObjectName(QStringLiteral("Operacion"));
    operations_->setMinimumWidth(220);
    auto* choice = new QHBoxLayout;
    choice->addWidget(Caption(QStringLiteral("&Jugador:"), players_, this));
    choice->addWidget(players_);
    choice->addSpacing(16);
    choice->addWidget(Caption(QStringLiteral("&Operación:"), operations_, this));
    choice->addWidget(operations_);
    choice->addStretch();

    best_ = new QLabel(this);
    average_ = new QLabel(this);
    count_ = new QLabel(this);
    auto* figures = new QHBoxLayout;
    for (QLabel* label : {best_, average_, count_}) {
        label->setFont(DesignFont(12, true));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        figures->addWidget(label);
        figures->addSpacing(24);
    }
    SetTextColour(best_, Rgb{160, 0, 0});
    figures->addStretch();

    chart_ = new ProgressChartView(this);
    selection_ = new QLabel(this);
    selection_->setObjectName(QStringLiteral("Seleccion"));

    model_ = new GameTableModel(this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("Partidas"));
    table_->setModel(model_);
    table_->setFont(DesignFont(10));
    table_->horizontalHeader()->setFont(DesignFont(10, true));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->hide();
    // Fixed sizes: measuring ten thousand rows would slow the window's opening.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(QFontMetrics(DesignFont(10)).height() + 8);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int widths[kColumns] = {150, 180, 80, 90, 80, 90};
    for (int c = 0; c < kColumns; ++c) table_->setColumnWidth(c, widths[c]);
    table_->horizontalHeader()->setStretchLastSection(true);

    export_ = Button(QStringLiteral("&Exportar…"), colours::kGreen, this);
    export_->setObjectName(QStringLiteral("Exportar"));
    QPushButton* close = Button(QStringLiteral("&Cerrar"), colours::kRed, this);
    close->setObjectName(QStringLiteral("Cerrar"));
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("Estado"));
    status_->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    buttons->addWidget(export_);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addWidget(title);
    layout->addLayout(choice);
    layout->addLayout(figures);
    layout->addWidget(chart_, 3);
    layout->addWidget(selection_);
    layout->addWidget(Caption(QStringLiteral("Ú&ltimas partidas:"), table_, this));
    layout->addWidget(table_, 2);
    layout->addLayout(buttons);

    setTabOrder(players_, operations_);
    setTabOrder(operations_, chart_);
    setTabOrder(chart_, table_);
    setTabOrder(table_, export_);
    setTabOrder(export_, close);

    connect(players_, &QComboBox::currentIndexChanged, this, [this] { FillOperations(); });
    connect(operations_, &QComboBox::currentIndexChanged, this, [this] { ShowGames(); });
    connect(chart_, &ProgressChartView::SelectionChanged, this, &ProgressScreen::ShowSelection);
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    chart_->Select(static_cast<int>(Games().size()) - 1 - current.row());
            });
    connect(export_, &QPushButton::clicked, this, &ProgressScreen::ChooseExportFile);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    resize(820, 680);
    Reload();
}

void ProgressScreen::Reload() {
    const QString player = players_->currentText();
    const QString operation = operations_->currentText();
    std::vector<std::string> names = history_.Players();
    const QString problem = Q(history_.Problem());
    QStringList sorted;
    for (const std::string& name : names) sorted << Q(name);
    // Spanish order, like the rest of the program: "Álvaro" before "Bea".
    QCollator collator(QLocale(QLocale::Spanish, QLocale::Spain));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(sorted.begin(), sorted.end(), collator);
    {
        const QSignalBlocker blocker(players_);
        players_->clear();
        players_->addItems(sorted);
        const int at = players_->findText(player);
        players_->setCurrentIndex(at >= 0 ? at : (sorted.isEmpty() ? -1 : 0));
    }
    FillOperations();
    SelectOperation(operation);
    if (!problem.isEmpty()) SetStatus(problem, true);
}

void ProgressScreen::FillOperations() {
    {
        const QSignalBlocker blocker(operations_);
        operations_->clear();
        if (players_->currentIndex() >= 0) {
            for (const std::string& operation :
                 history_.Operations(players_->currentText().toStdString()))
                operations_->addItem(Q(operation));
        }
        operations_->setCurrentIndex(operations_->count() > 0 ? 0 : -1);
    }
    ShowGames();
}

bool ProgressScreen::SelectPlayer(const QString& player) {
    const int at = players_->findText(player);
    if (at < 0) return false;
    if (at != players_->currentIndex()) players_->setCurrentIndex(at);
    return true;
}

bool ProgressScreen::SelectOperation(const QString& operation) {
    const int at = operations_->findText(operation);
    if (at < 0) return false;
    if (at != operations_->currentIndex()) operations_->setCurrentIndex(at);
    return true;
}

void ProgressScreen::ShowGames() {
    std::vector<FinishedGame> games;
    if (players_->currentIndex() >= 0 && operations_->currentIndex() >= 0) {
        games = history_.Games(players_->currentText().toStdString(),
                               operations_->currentText().toStdString());
    }
    const QString problem = Q(history_.Problem());
    SetStatus(problem, !problem.isEmpty());

    const ProgressSummary summary = Summarise(games);
    std::vector<ChartPoint> points;
    points.reserve(games.size());
    for (const FinishedGame& game : games) points.push_back({game.PlayedAt, game.Rate});
    model_->SetGames(std::move(games), summary.BestIndex);
    chart_->SetPoints(std::move(points), summary.BestIndex);
    export_->setEnabled(players_->currentIndex() >= 0);

    if (summary.Games == 0) {
        best_->setText(QStringLiteral("Mejor marca: —"));
        average_->setText(QStringLiteral("Media de las últimas 10: —"));
        count_->setText(QStringLiteral("Partidas: 0"));
        return;
    }
    best_->setText(QStringLiteral("Mejor marca: %1 (%2)")
                       .arg(Rate(summary.BestRate),
                            Q(ShortDateTime(Games()[summary.BestIndex].PlayedAt)).left(10)));
    const QString average = Rate(summary.RecentAverage);
    if (summary.RecentCount == kRecentGames) {
        average_->setText(QStringLiteral("Media de las últimas 10: %1").arg(average));
    } else if (summary.RecentCount == 1) {
        average_->setText(QStringLiteral("Media: %1 (1 partida)").arg(average));
    } else {
        average_->setText(
            QStringLiteral("Media de las %1 partidas: %2").arg(summary.RecentCount).arg(average));
    }
    count_->setText(QStringLiteral("Partidas: %1").arg(summary.Games));
}

void ProgressScreen::ShowSelection(int index) {
    const std::vector<FinishedGame>& games = Games();
    if (index < 0 || index >= static_cast<int>(games.size())) {
        selection_->clear();
        return;
    }
    const FinishedGame& game = games[static_cast<std::size_t>(index)];
    QString text = QStringLiteral("Partida %1 de %2: %3, %4, %5, %6")
                       .arg(index + 1)
                       .arg(Games().size())
                       .arg(Q(ShortDateTime(game.PlayedAt)), Rate(game.Rate),
                            Counted(game.Hits, "acierto", "aciertos"),
                            Counted(game.Errors, "error", "errores"));
    if (game.PairNumber > 0) text += QStringLiteral(", contra %1").arg(Q(game.Rival));
    if (static_cast<std::size_t>(index) == chart_->Best()) text += QStringLiteral(" (mejor marca)");
    selection_->setText(text);
    const int row = static_cast<int>(Games().size()) - 1 - index;
    if (table_->currentIndex().row() != row) {
        const QSignalBlocker blocker(table_->selectionModel());
        table_->selectRow(row);
        table_->scrollTo(model_->index(row, 0));
    }
}

void ProgressScreen::SetStatus(const QString& text, bool trouble) {
    status_->setText(text);
    SetTextColour(status_, trouble ? Rgb{160, 0, 0} : colours::kDarkGreen);
}

QString ProgressScreen::StatusText() const { return status_->text(); }

bool ProgressScreen::ExportTo(const QString& file) {
    const ExportResult result =
        ExportHistory(history_, file.toStdString(), players_->currentText().toStdString());
    SetStatus(Q(result.Message), !result.Ok);
    return result.Ok;
}

void ProgressScreen::ChooseExportFile() {
    const QString player = players_->currentText();
    QFileDialog dialog(this, QStringLiteral("Exportar las partidas de %1").arg(player));
    // Qt's own dialog, so that every word of it is Spanish like the rest.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("Archivos CSV (*.csv)"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Carpeta:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Nombre:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Tipo:"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Guardar"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Cancelar"));
    dialog.setDirectory(QDir::home());
    dialog.selectFile(QStringLiteral("progreso-%1.csv").arg(player));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString file = dialog.selectedFiles().constFirst();
    if (QFileInfo::exists(file)) {
        QMessageBox ask(
            QMessageBox::NoIcon, QStringLiteral("Cifrano"),
            QStringLiteral("%1 ya existe. ¿Quieres sustituirlo?").arg(QFileInfo(file).fileName()),
            QMessageBox::Yes | QMessageBox::No, this);
        ask.button(QMessageBox::Yes)->setText(QStringLiteral("Sí"));
        ask.button(QMessageBox::No)->setText(QStringLiteral("No"));
        ask.setDefaultButton(QMessageBox::No);
        if (ask.exec() != QMessageBox::Yes) return;
    }
    ExportTo(file);
}

void ProgressScreen::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace cifrano
