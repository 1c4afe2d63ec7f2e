// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard.h"

#include "quitkey.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QWidget>

namespace {

std::optional<form::Arrow> arrowOf(int key)
{
    switch (key) {
    case Qt::Key_Up:
        return form::Arrow::Up;
    case Qt::Key_Down:
        return form::Arrow::Down;
    case Qt::Key_Left:
        return form::Arrow::Left;
    case Qt::Key_Right:
        return form::Arrow::Right;
    default:
        return std::nullopt;
    }
}

form::Modifiers modifiersOf(Qt::KeyboardModifiers held)
{
    return {held.testFlag(Qt::ShiftModifier), held.testFlag(Qt::ControlModifier),
            held.testFlag(Qt::AltModifier), held.testFlag(Qt::MetaModifier)};
}

} // namespace

Keyboard::Keyboard(QWidget* window, QButtonGroup* varieties, QButtonGroup* species,
                   QButtonGroup* commands, QWidget* output)
    : QObject(window), window_(window), varieties_(varieties), species_(species),
      commands_(commands), output_(output)
{
    output->installEventFilter(this);
    for (QButtonGroup* group : {varieties, species, commands}) {
        for (QAbstractButton* button : group->buttons())
            button->installEventFilter(this);
    }
}

std::optional<form::Focusable> Keyboard::focusableOf(QObject* control) const
{
    if (control && control == output_)
        return form::Focusable{form::StopKind::OutputBox};
    auto* button = qobject_cast<QAbstractButton*>(control);
    if (!button)
        return std::nullopt;
    if (button->group() == varieties_)
        return form::Focusable{form::StopKind::Varieties, varieties_->id(button)};
    if (button->group() == species_)
        return form::Focusable{form::StopKind::Species, species_->id(button)};
    if (button->group() == commands_)
        return form::Focusable{form::StopKind::Command, commands_->id(button)};
    return std::nullopt;
}

QWidget* Keyboard::widgetOf(form::Focusable control) const
{
    switch (control.kind) {
    case form::StopKind::OutputBox:
        return output_;
    case form::StopKind::Varieties:
        return varieties_->button(control.index);
    case form::StopKind::Species:
        return species_->button(control.index);
    case form::StopKind::Command:
        return commands_->button(control.index);
    }
    return nullptr;
}

form::OptionStates Keyboard::optionStates() const
{
    form::OptionStates states;
    for (int i = 0; i < int(states.varietyRetired.size()); ++i)
        states.varietyRetired.at(i) = !varieties_->button(i)->isEnabled();
    for (int i = 0; i < int(states.speciesRetired.size()); ++i)
        states.speciesRetired.at(i) = !species_->button(i)->isEnabled();
    states.chosenVariety = varieties_->checkedId();
    states.chosenSpecies = species_->checkedId();
    return states;
}

bool Keyboard::focusNextPrevChild(bool next)
{
    const std::optional<form::Focusable> from = focusableOf(window_->focusWidget());
    if (!from)
        return false;
    const std::optional<form::Focusable> to =
        form::tabTarget(*from, !next, optionStates(), form::KeyHost::Window);
    if (!to)
        return false;
    widgetOf(*to)->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
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
    const std::optional<form::Focusable> from = focusableOf(watched);
    if (!from || from->kind == form::StopKind::OutputBox) // the box's keys are its own
        return false;
    const int key = keyEvent->key();

    if (from->kind == form::StopKind::Command) {
        // Enter presses a button, as Space does.
        if ((key != Qt::Key_Return && key != Qt::Key_Enter) ||
            (keyEvent->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        commands_->button(from->index)->click();
        return true;
    }

    // Every arrow is taken, moved or not: Qt's own movement would neither
    // wrap nor follow the grid's order.
    const std::optional<form::Arrow> arrow = arrowOf(key);
    if (!arrow || !form::isPlainArrow(modifiersOf(keyEvent->modifiers()), form::KeyHost::Window))
        return false;
    if (const auto move = form::arrowTarget(*from, *arrow, optionStates())) {
        auto* target = static_cast<QAbstractButton*>(widgetOf({from->kind, move->to}));
        if (move->choiceFollows)
            target->click();
        const bool forward = *arrow == form::Arrow::Down || *arrow == form::Arrow::Right;
        target->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    }
    return true;
}
