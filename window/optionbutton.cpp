// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "optionbutton.h"

#include "form.h"
#include "layout.h"

#include <QAccessibleWidget>

namespace {

// Qt's own interface for a radio button toggles it through setChecked(), which
// raises no click, so an option chosen by an assistive tool would be checked
// on screen while the quiz never heard of it. Here the action is a click.
class AccessibleOption : public QAccessibleWidget
{
public:
    explicit AccessibleOption(QWidget* option) : QAccessibleWidget(option, QAccessible::RadioButton)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && option()->accessibleName().isEmpty())
            return option()->text();
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = option()->isChecked();
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList{toggleAction(), pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (action != toggleAction() && action != pressAction())
            QAccessibleWidget::doAction(action);
        else if (option()->isEnabled())
            option()->click();
    }

    QStringList keyBindingsForAction(const QString& action) const override
    {
        if (action == toggleAction() || action == pressAction())
            return {QStringLiteral("Space")};
        return QAccessibleWidget::keyBindingsForAction(action);
    }

private:
    OptionButton* option() const { return static_cast<OptionButton*>(widget()); }
};

QAccessibleInterface* accessibleOption(const QString& className, QObject* object)
{
    if (className == QLatin1String("OptionButton") && object->isWidgetType())
        return new AccessibleOption(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

OptionButton::OptionButton(std::string_view caption, QWidget* parent)
    : QRadioButton(layout::toText(form::shownCaption(caption)), parent),
      caption_(layout::toText(caption))
{
}

void OptionButton::registerAccessibleInterface()
{
    static const bool registered = (QAccessible::installFactory(accessibleOption), true);
    Q_UNUSED(registered);
}
