#pragma once
// The progress window ("Progreso"): for a player and an operation type chosen
// from the history, the rate of every game on a chart with the personal best
// marked, the average of the last ten games, the games as a table (newest
// first) and an export of the player's games as CSV. A plain top-level window,
// opened from the results screen or by "cifrano --progreso".
#include <QAbstractTableModel>
#include <QString>
#include <QWidget>
#include <vector>

#include "history/game_history.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace cifrano {

class ProgressChartView;

// The games of the table, newest first.
class GameTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;
    void SetGames(std::vector<FinishedGame> gamesOldestFirst, std::size_t best);
    const std::vector<FinishedGame>& Games() const { return games_; }
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::vector<FinishedGame> games_;  // oldest first
    std::size_t best_ = 0;
};

class ProgressScreen : public QWidget {
    Q_OBJECT
  public:
    // Reads the history at once; the history must outlive the window.
    explicit ProgressScreen(GameHistory& history, QWidget* parent = nullptr);

    // Shows a player's games (their most recently played operation type).
    // Returns false, changing nothing, when the history has no game of theirs.
    bool SelectPlayer(const QString& player);
    bool SelectOperation(const QString& operation);
    // Reads the history again, keeping the choice where it still exists.
    void Reload();
    // What "Exportar..." does once a file is chosen: the chosen player's games.
    bool ExportTo(const QString& file);

    ProgressChartView* Chart() const { return chart_; }
    QTableView* Table() const { return table_; }
    QComboBox* Players() const { return players_; }
    QComboBox* Operations() const { return operations_; }
    QString StatusText() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // The chosen player's and type's games, oldest first (the table holds them).
    const std::vector<FinishedGame>& Games() const { return model_->Games(); }
    void FillOperations();
    void ShowGames();
    void ShowSelection(int index);
    void ChooseExportFile();
    void SetStatus(const QString& text, bool trouble);

    GameHistory& history_;
    QComboBox* players_ = nullptr;
    QComboBox* operations_ = nullptr;
    QLabel* best_ = nullptr;
    QLabel* average_ = nullptr;
    QLabel* count_ = nullptr;
    ProgressChartView* chart_ = nullptr;
    QLabel* selection_ = nullptr;
    GameTableModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QPushButton* export_ = nullptr;
    QLabel* status_ = nullptr;
};


}  // namespace cifrano
