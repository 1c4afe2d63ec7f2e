// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard.h"

#include "layout.h"
#include "quitkey.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace {

// Where STEPS from AT lands in a ring of COUNT places, either way round.
std::size_t around(std::ptrdiff_t at, std::ptrdiff_t steps, std::ptrdiff_t count)
{
    return std::size_t(((at + steps) % count + count) % count);
}

// One stop of the Tab cycle: a single control, or a group of options listed
// by tab index, which takes its place in the cycle at the lowest of them.
struct TabStop
{
    int tabIndex;
    std::vector<QWidget*> controls;
};

TabStop groupStop(std::vector<std::pair<int, QWidget*>> options)
{
    std::sort(options.begin(), options.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    TabStop stop{options.front().first, {}};
    for (const auto& option : options)
        stop.controls.push_back(option.second);
    return stop;
}

// Where a stop of the Tab cycle is entered, or null when all of it is retired.
QWidget* entryOf(const std::vector<QWidget*>& stop)
{
    for (QWidget* control : stop) {
        auto* option = qobject_cast<QAbstractButton*>(control);
        if (option && option->isCheckable() && option->isChecked())
            return option;
    }
    for (QWidget* control : stop) {
        if (control->isEnabled())
            return control;
    }
    return nullptr;
}

bool isArrow(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
}

} // namespace

Keyboard::Keyboard(QWidget* window, QButtonGroup* varieties, QButtonGroup* species,
                   QButtonGroup* commands, QWidget* output)
    : QObject(window), window_(window), commands_(commands)
{
    std::vector<std::pair<int, QWidget*>> varietyTabs, speciesTabs;
    varietyRows_.resize(form::kGridRows);
    for (const auto& column : form::kVarietyGrid) {
        for (int row = 0; row < form::kGridRows; ++row) {
            const form::GridCell& cell = column.at(row);
            QAbstractButton* option = varieties->button(cell.variety);
            varietyOrder_.push_back(option);
            varietyRows_.at(row).push_back(option);
            varietyTabs.emplace_back(cell.tabIndex, option);
        }
    }
    for (int k = 0; k < int(form::kSpeciesTabIndices.size()); ++k) {
        speciesOrder_.push_back(species->button(k));
        speciesTabs.emplace_back(form::speciesOption(k).tabIndex, species->button(k));
    }

    std::vector<TabStop> stops{
        {form::kOutputBox.tabIndex, {output}}, groupStop(varietyTabs), groupStop(speciesTabs)};
    for (int i = 0; i < int(form::kCommands.size()); ++i)
        stops.push_back({form::kCommands.at(i).tabIndex, {commands->button(i)}});
    std::sort(stops.begin(), stops.end(),
              [](const TabStop& a, const TabStop& b) { return a.tabIndex < b.tabIndex; });
    for (TabStop& stop : stops) {
        for (QWidget* control : stop.controls)
            control->installEventFilter(this);
        tabStops_.push_back(std::move(stop.controls));
    }
}

bool Keyboard::focusNextPrevChild(bool next)
{
    QWidget* focus = window_->focusWidget();
    const auto at = std::find_if(tabStops_.begin(), tabStops_.end(), [focus](const auto& stop) {
        return std::find(stop.begin(), stop.end(), focus) != stop.end();
    });
    if (at == tabStops_.end())
        return false;

    const auto count = std::ptrdiff_t(tabStops_.size());
    const std::ptrdiff_t from = at - tabStops_.begin();
    for (std::ptrdiff_t step = 1; step <= count; ++step) {
        if (QWidget* entry = entryOf(tabStops_.at(around(from, next ? step : -step, count)))) {
            entry->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

// The varieties run down the columns in alphabetical order, Up and Down
// following it from one column into the next; Left and Right keep the row.
// The minerals run top to bottom.
const Keyboard::Ring& Keyboard::ringFor(QAbstractButton* option, int key) const
{
    const auto at = std::find(varietyOrder_.begin(), varietyOrder_.end(), option);
    if (at == varietyOrder_.end())
        return speciesOrder_;
    if (key == Qt::Key_Up || key == Qt::Key_Down)
        return varietyOrder_;
    return varietyRows_.at(std::size_t(at - varietyOrder_.begin()) % form::kGridRows);
}

bool Keyboard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    if (isQuitKey(*keyEvent)) {
        window_->close();
        return true;
    }
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (!button) // the output box: its keys are its own
        return false;
    const int key = keyEvent->key();

    if (button->group() == commands_) {
        // Enter presses a button, as Space does.
        if ((key != Qt::Key_Return && key != Qt::Key_Enter) ||
            (keyEvent->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        button->click();
        return true;
    }

    // Any arrow, with Shift, Ctrl or Alt or without, is the plain arrow: Qt's
    // own movement would neither wrap nor follow the grid's order.
    if (!isArrow(key))
        return false;
    const Ring& ring = ringFor(button, key);
    const bool forward = key == Qt::Key_Down || key == Qt::Key_Right;
    const auto count = std::ptrdiff_t(ring.size());
    const std::ptrdiff_t from = std::find(ring.begin(), ring.end(), button) - ring.begin();
    for (std::ptrdiff_t step = 1; step < count; ++step) {
        QAbstractButton* target = ring.at(around(from, forward ? step : -step, count));
        if (!target->isEnabled())
            continue; // retired
        // As the arrows always have: the focus moves, and the choice moves
        // with it while the option left behind was chosen.
        if (button->isChecked())
            target->click();
        target->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        break;
    }
    return true;
}
