#include "game/sheet_accessible_view.h"

#include <QWindow>
#include <algorithm>
#include <vector>

#include "game/sheet_view.h"

namespace cifrano {

namespace {
QString ToQString(const std::string& text) { return QString::fromUtf8(text.c_str()); }
SheetEventSpy eventSpy = nullptr;
}  // namespace

void SetSheetEventSpy(SheetEventSpy spy) { eventSpy = spy; }

void SendSheetEvent(QAccessibleEvent& event) {
    if (eventSpy)
        eventSpy(&event);
    else
        QAccessible::updateAccessibility(&event);
}

SheetAccessible::SheetAccessible(SheetView* view) : QAccessibleWidget(view, QAccessible::List) {}

SheetAccessible::~SheetAccessible() {
    for (const auto& [row, id] : rowItems_) QAccessible::deleteAccessibleInterface(id);
}

SheetView* SheetAccessible::View() const { return static_cast<SheetView*>(widget()); }

QString SheetAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name) return QStringLiteral("Hoja de problemas");
    return QAccessibleWidget::text(t);
}

int SheetAccessible::FirstRowInView() const { return View()->VisibleRows().first; }

int SheetAccessible::RowsInView() const {
    const auto [first, last] = View()->VisibleRows();
    return std::max(0, last - first + 1);
}

int SheetAccessible::childCount() const { return RowsInView() + QAccessibleWidget::childCount(); }

QAccessibleInterface* SheetAccessible::RowItem(int row) const {
    if (!View()->Session().Sheet.IsRow(row)) return nullptr;
    const auto found = rowItems_.find(row);
    if (found != rowItems_.end()) return QAccessible::accessibleInterface(found->second);
    auto* item = new SheetRowAccessible(View(), row);
    rowItems_[row] = QAccessible::registerAccessibleInterface(item);
    return item;
}

QAccessibleInterface* SheetAccessible::child(int index) const {
    const int rows = RowsInView();
    if (index < 0) return nullptr;
    if (index < rows) return RowItem(FirstRowInView() + index);
    return QAccessibleWidget::child(index - rows);
}

int SheetAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (const auto* item = dynamic_cast<const SheetRowAccessible*>(child)) {
        const int index = item->Row() - FirstRowInView();
        return index >= 0 && index < RowsInView() ? index : -1;
    }
    const int index = QAccessibleWidget::indexOfChild(child);
    return index < 0 ? -1 : RowsInView() + index;
}

QAccessibleInterface* SheetAccessible::childAt(int x, int y) const {
    // The answer box lies over its row: it comes first.
    if (QAccessibleInterface* widgetChild = QAccessibleWidget::childAt(x, y)) return widgetChild;
    const auto [first, last] = View()->VisibleRows();
    for (int row = first; row <= last; ++row) {
        QAccessibleInterface* item = RowItem(row);
        if (item && item->rect().contains(x, y)) return item;
    }
    return nullptr;
}

bool SheetRowAccessible::isValid() const { return view_ && view_->Session().Sheet.IsRow(row_); }

QWindow* SheetRowAccessible::window() const {
    return view_ ? view_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* SheetRowAccessible::parent() const {
    return view_ ? QAccessible::queryAccessibleInterface(view_.data()) : nullptr;
}

QString SheetRowAccessible::text(QAccessible::Text t) const {
    if (!isValid()) return {};
    const SheetRow& row = view_->Session().Sheet.Rows[row_];
    switch (t) {
        case QAccessible::Name:
            return ToQString(RowReading(row));
        case QAccessible::Description:
            return row.AnswerShown ? ToQString(AnswerState(row)) : QString();
        default:
            return {};
    }
}

QRect SheetRowAccessible::rect() const {
    if (!isValid()) return {};
    const QRect local = view_->RowRect(row_).intersected(view_->rect());
    return QRect(view_->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State SheetRowAccessible::state() const {
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    const auto [first, last] = view_->VisibleRows();
    const bool inView = row_ >= first && row_ <= last && view_->isVisible();
    state.invisible = !inView;
    state.offscreen = !inView;
    state.readOnly = true;
    state.selectable = row_ > 0;
    state.selected = view_->Session().Sheet.Rows[row_].Highlighted();
    state.disabled = !view_->isEnabled();
    return state;
}

void* SheetRowAccessible::interface_cast(QAccessible::InterfaceType type) {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                : nullptr;
}

QStringList SheetRowAccessible::actionNames() const {
    if (!isValid() || row_ < 1 || !view_->isEnabled()) return {};
    return {pressAction()};
}

void SheetRowAccessible::doAction(const QString& actionName) {
    if (actionName == pressAction() && isValid()) view_->ClickRow(row_);
}

void InstallSheetAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory([](const QString&, QObject* object) -> QAccessibleInterface* {
            if (auto* view = qobject_cast<SheetView*>(object)) return new SheetAccessible(view);
            return nullptr;
        });
        return true;
    }();
    Q_UNUSED(installed);
}

void AnnounceSheetRows(SheetView* view, std::initializer_list<int> rows, bool moved) {
    if (!QAccessible::isActive() && !eventSpy) return;
    auto* sheet = dynamic_cast<SheetAccessible*>(QAccessible::queryAccessibleInterface(view));
    if (!sheet) return;
    if (moved) {
        QAccessibleEvent reorder(view, QAccessible::ObjectReorder);
        SendSheetEvent(reorder);
    }
    const auto [first, last] = view->VisibleRows();
    std::vector<int> changed;
    if (moved) {
        for (int row = first; row <= last; ++row) changed.push_back(row);
    } else {
        for (int row : rows)
            if (row >= 1 && row >= first && row <= last &&
                std::find(changed.begin(), changed.end(), row) == changed.end())
                changed.push_back(row);
    }
    for (int row : changed) {
        QAccessibleInterface* item = sheet->RowItem(row);
        if (!item) continue;
        QAccessibleEvent named(item, QAccessible::NameChanged);
        SendSheetEvent(named);
        QAccessible::State selection;
        selection.selected = true;
        QAccessibleStateChangeEvent selected(item, selection);
        SendSheetEvent(selected);
    }
}

}  // namespace cifrano
