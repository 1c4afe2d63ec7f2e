// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tesmoril.h"

#include "catalogue.h"
#include "keyboard.h"
#include "layout.h"
#include "optionbutton.h"
#include "outputbox.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>

namespace {

// A control's colour, which the application's style paints: the background
// of a label, frame or option, the face of a push button. Text colours come
// from the application's palette.
void paint(QWidget* widget, form::Rgb background)
{
    QPalette palette = widget->palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button})
        palette.setColor(role, layout::toColor(background));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QString indexedName(std::string_view array, int index)
{
    return layout::toText(form::controlName(array, index));
}

} // namespace

Tesmoril::Tesmoril(QWidget* parent) : QWidget(parent)
{
    OptionButton::registerAccessibleInterface();
    setObjectName(QStringLiteral("Tesmoril"));
    setWindowTitle(layout::toText(form::kCaption));
    // A Wayland compositor may maximise, tile or fullscreen any window, and
    // ends a program whose maximised surface keeps a size of its own. There
    // the window takes any size from the layout's upwards: the controls keep
    // their places top-left and the window's colour fills the rest.
    const QSize size = layout::toPixels(form::kClientArea).size();
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        setMinimumSize(size);
        resize(size);
    } else {
        setFixedSize(size);
    }
    paint(this, form::kWindowColour);

    createBanner();
    createVarietyOptions(createFrame(indexedName(form::kFrameArray, 0),
                                     layout::toText(form::kVarietyFrameTitle),
                                     layout::toPixels(form::kVarietyFrame)));
    createSpeciesOptions(createFrame(indexedName(form::kFrameArray, 1),
                                     layout::toText(form::kSpeciesFrameTitle),
                                     layout::toPixels(form::kSpeciesFrame)));
    createCommands();
    createOutputBox();
    keyboard_ = new Keyboard(this, varieties_, species_, commands_, output_);
    connectGroups();

    quiz_.OnFormLoad();
}

void Tesmoril::createBanner()
{
    auto* banner = new QLabel(layout::toText(form::kBannerText), this);
    banner->setObjectName(indexedName(form::kBannerArray, 0));
    banner->setGeometry(layout::toPixels(form::kBanner));
    banner->setAlignment(Qt::AlignCenter);
    paint(banner, form::kBannerColour);
}

QGroupBox* Tesmoril::createFrame(const QString& name, const QString& title, QRect geometry)
{
    auto* frame = new QGroupBox(title, this);
    frame->setObjectName(name);
    frame->setGeometry(geometry);
    paint(frame, form::kFrameColour);
    return frame;
}

void Tesmoril::createVarietyOptions(QGroupBox* frame)
{
    varieties_ = new QButtonGroup(this);
    const auto& varieties = catalogue::varieties();
    for (int column = 0; column < int(form::kVarietyGrid.size()); ++column) {
        for (int row = 0; row < form::kGridRows; ++row) {
            const std::int16_t v = form::kVarietyGrid.at(column).at(row).variety;
            auto* option = new OptionButton(varieties.at(v).caption, frame);
            option->setObjectName(indexedName(form::kVarietyArray, v));
            option->setGeometry(layout::toPixels(form::varietyOption(column, row)));
            paint(option, form::kVarietyColumns.at(column).colour);
            varieties_->addButton(option, v);
        }
    }
}

void Tesmoril::createSpeciesOptions(QGroupBox* frame)
{
    species_ = new QButtonGroup(this);
    const auto& captions = catalogue::speciesCaptions();
    for (int k = 0; k < int(captions.size()); ++k) {
        auto* option = new OptionButton(captions.at(k), frame);
        option->setObjectName(indexedName(form::kSpeciesArray, k));
        option->setGeometry(layout::toPixels(form::speciesOption(k).place));
        paint(option, form::kSpeciesColour);
        species_->addButton(option, k);
    }
}

void Tesmoril::createCommands()
{
    commands_ = new QButtonGroup(this);
    commands_->setExclusive(false);
    for (int i = 0; i < int(form::kCommands.size()); ++i) {
        auto* button = new QPushButton(layout::toText(form::kCommandCaptions.at(i)), this);
        button->setObjectName(indexedName(form::kCommandArray, i));
        button->setGeometry(layout::toPixels(form::kCommands.at(i).place));
        paint(button, form::kCommandColours.at(i));
        commands_->addButton(button, i);
    }
}

void Tesmoril::createOutputBox()
{
    output_ = new OutputBox(this);
    output_->setObjectName(indexedName(form::kOutputArray, 0));
    output_->setGeometry(layout::toPixels(form::kOutputBox.place));
    output_->setPlainText(layout::toText(form::kIntroductoryText));
    output_->setFocus();
}

bool Tesmoril::focusNextPrevChild(bool next)
{
    return keyboard_->focusNextPrevChild(next) || QWidget::focusNextPrevChild(next);
}

void Tesmoril::connectGroups()
{
    connect(varieties_, &QButtonGroup::idClicked, this,
            [this](int id) { quiz_.OnVarietyClick(static_cast<std::int16_t>(id)); });
    connect(species_, &QButtonGroup::idClicked, this,
            [this](int id) { quiz_.OnSpeciesClick(static_cast<std::int16_t>(id)); });
    connect(commands_, &QButtonGroup::idClicked, this, &Tesmoril::onCommandClick);
}

// Both buttons write the output box; the focus goes there, so that a screen
// reader, which reads what gets the focus, reads the verdict at once. The next
// Tab goes on to the varieties.
void Tesmoril::onCommandClick(int id)
{
    quiz_.OnCommandClick(static_cast<std::int16_t>(id));
    output_->setFocus(Qt::OtherFocusReason);
}

QButtonGroup* Tesmoril::group(OptionGroup group) const
{
    return group == OptionGroup::Varieties ? varieties_ : species_;
}

void Tesmoril::SetOptionChecked(OptionGroup group, std::int16_t index, bool checked)
{
    QButtonGroup* buttons = this->group(group);
    QAbstractButton* option = buttons->button(index);
    if (checked || !option->isChecked()) {
        option->setChecked(checked);
        return;
    }
    // The checked button of an exclusive group refuses to be cleared on its own.
    buttons->setExclusive(false);
    option->setChecked(false);
    buttons->setExclusive(true);
}

void Tesmoril::SetOptionEnabled(OptionGroup group, std::int16_t index, bool enabled)
{
    this->group(group)->button(index)->setEnabled(enabled);
}

std::string Tesmoril::OptionCaption(OptionGroup group, std::int16_t index) const
{
    return static_cast<OptionButton*>(this->group(group)->button(index))->caption().toStdString();
}

std::string Tesmoril::KeyEntry(std::int16_t variety) const
{
    return std::string(catalogue::varieties().at(variety).keyText);
}

std::string Tesmoril::DescriptionEntry(std::int16_t variety) const
{
    return std::string(catalogue::varieties().at(variety).description);
}

std::string Tesmoril::GetOutputText() const
{
    return output_->text();
}

void Tesmoril::SetOutputText(const std::string& text)
{
    output_->setText(text);
}
