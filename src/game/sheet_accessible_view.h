#pragma once
// The painted problem sheet as assistive technology sees it: a list with one
// item per row in view, each named as a player reads the row ("3-  4 + 6 =
// 10, acierto"), followed by the answer box. Rows are no widgets, so their
// items are made on first need and kept for the sheet's life.
#include <QAccessibleWidget>
#include <QPointer>
#include <initializer_list>
#include <map>

namespace cifrano {

class SheetView;

class SheetAccessible : public QAccessibleWidget {
  public:
    explicit SheetAccessible(SheetView* view);
    ~SheetAccessible() override;

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    // The item of a sheet row, made on first need.
    QAccessibleInterface* RowItem(int row) const;

  private:
    SheetView* View() const;
    int FirstRowInView() const;
    int RowsInView() const;

    mutable std::map<int, QAccessible::Id> rowItems_;
};

// One row of the sheet; it has no object of its own. Pressing a problem row
// is clicking its answer box.
class SheetRowAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    SheetRowAccessible(SheetView* view, int row) : view_(view), row_(row) {}
    int Row() const { return row_; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    QPointer<SheetView> view_;
    int row_;
};

// Makes the sheet view's accessible interface a SheetAccessible.
void InstallSheetAccessibleFactory();

// Tells assistive technology that rows changed (their texts or colours), and,
// when the sheet moved, that other rows are now in view.
void AnnounceSheetRows(SheetView* view, std::initializer_list<int> rows, bool moved);

// Sends one of the sheet's accessibility events through Qt.
void SendSheetEvent(QAccessibleEvent& event);

// Sees every event of the sheet instead of Qt's bridge (nullptr: none). Qt
// drops all events on a platform without a bridge, such as offscreen.
using SheetEventSpy = void (*)(QAccessibleEvent* event);
void SetSheetEventSpy(SheetEventSpy spy);

}  // namespace cifrano
