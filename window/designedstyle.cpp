// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
// SPDX-License-Identifier: GPL-3.0-or-later
#include "designedstyle.h"

#include "layout.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <QPushButton>
#include <QStyleOption>

namespace {

// A frame of the given colour and width just inside RECT.
void drawFrame(QPainter* painter, QRectF rect, const QColor& colour, int width)
{
    painter->save();
    QPen pen(colour, width);
    pen.setJoinStyle(Qt::MiterJoin);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    const qreal half = width / 2.0;
    painter->drawRect(rect.adjusted(half, half, -half, -half));
    painter->restore();
}

void drawFocusFrame(QPainter* painter, QRectF rect)
{
    drawFrame(painter, rect, layout::toColor(form::kFocusColour), form::kFocusFrameWidth);
}

// A button's face while pressed: the form's pressed face of a button of the
// form, else the same shade darker.
QColor pressedFace(const QColor& face)
{
    for (std::size_t i = 0; i < form::kCommandColours.size(); ++i) {
        if (layout::toColor(form::kCommandColours.at(i)) == face)
            return layout::toColor(form::kPressedCommandColours.at(i));
    }
    return face.darker(115);
}

bool isPushButton(const QWidget* widget)
{
    return qobject_cast<const QPushButton*>(widget) != nullptr;
}

} // namespace

QPalette designedPalette()
{
    const QColor window = layout::toColor(form::kWindowColour);
    const QColor text = layout::toColor(form::kTextColour);
    const QColor disabledText = layout::toColor(form::kDisabledTextColour);
    const QColor white(255, 255, 255);

    QPalette palette;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        const auto set = [&](QPalette::ColorRole role, const QColor& colour) {
            palette.setColor(group, role, colour);
        };
        set(QPalette::Window, window);
        set(QPalette::WindowText, disabled ? disabledText : text);
        set(QPalette::Base, layout::toColor(form::kOutputColour)); // the box, the circles
        set(QPalette::AlternateBase, window.lighter(110));
        set(QPalette::Text, disabled ? disabledText : text);
        set(QPalette::PlaceholderText, disabledText);
        set(QPalette::Button, window);
        set(QPalette::ButtonText, disabled ? disabledText : text);
        set(QPalette::BrightText, white);
        // The group frames' etched lines are drawn in Light and Dark.
        set(QPalette::Light, layout::toColor(form::kEtchLightColour));
        set(QPalette::Midlight, window.lighter(115));
        set(QPalette::Mid, window.darker(150));
        set(QPalette::Dark, layout::toColor(form::kEtchShadowColour));
        set(QPalette::Shadow, text);
        // Text selected in the output box: white on the focus colour.
        set(QPalette::Highlight, layout::toColor(form::kFocusColour));
        set(QPalette::HighlightedText, white);
        set(QPalette::Link, QColor(0, 0, 192));
        set(QPalette::LinkVisited, QColor(128, 0, 128));
        set(QPalette::ToolTipBase, QColor(255, 255, 220));
        set(QPalette::ToolTipText, text);
        set(QPalette::NoRole, window);
    }
    return palette;
}

DesignedStyle::DesignedStyle() : QProxyStyle(QStringLiteral("Fusion")) {}

void DesignedStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const
{
    switch (element) {
    case PE_FrameFocusRect:
        // A push button shows the focus along its edge (below); an option
        // round its caption, once the keyboard has moved the focus.
        if (!isPushButton(widget) && option->state.testFlag(State_KeyboardFocusChange))
            drawFocusFrame(painter, option->rect);
        return;
    case PE_PanelButtonCommand: {
        QColor colour = option->palette.color(QPalette::Button);
        if (option->state.testFlag(State_Sunken))
            colour = pressedFace(colour);
        painter->fillRect(option->rect, colour);
        if (option->state.testFlag(State_HasFocus))
            drawFocusFrame(painter, option->rect);
        else
            drawFrame(painter, option->rect, layout::toColor(form::kButtonEdgeColour),
                      form::kButtonEdgeWidth);
        return;
    }
    case PE_Frame: // the output box, the window's only framed scroll area
        if (!qobject_cast<const QAbstractScrollArea*>(widget))
            break;
        drawFrame(painter, option->rect,
                  layout::toColor(option->state.testFlag(State_HasFocus)
                                      ? form::kFocusColour
                                      : form::kOutputFrameColour),
                  form::kOutputFrameWidth);
        return;
    case PE_IndicatorRadioButton: {
        // Fusion would also tint the focused option's circle.
        QStyleOptionButton plain;
        if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option))
            plain = *button;
        else
            plain.QStyleOption::operator=(*option);
        plain.state &= ~State_HasFocus;
        QProxyStyle::drawPrimitive(element, &plain, painter, widget);
        return;
    }
    case PE_FrameGroupBox:
        QCommonStyle::drawPrimitive(element, option, painter, widget);
        return;
    default:
        break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

QRect DesignedStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                    SubControl subControl, const QWidget* widget) const
{
    QRect rect = QProxyStyle::subControlRect(control, option, subControl, widget);
    if (control == CC_GroupBox && subControl == SC_GroupBoxFrame) {
        const QRect title = QProxyStyle::subControlRect(control, option, SC_GroupBoxLabel, widget);
        rect.setTop(title.bottom() + 2);
    }
    return rect;
}

int DesignedStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                               const QWidget* widget) const
{
    if (metric == PM_DefaultFrameWidth && qobject_cast<const QAbstractScrollArea*>(widget))
        return form::kOutputFrameWidth;
    return QProxyStyle::pixelMetric(metric, option, widget);
}
