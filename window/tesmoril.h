// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The quiz window. It builds its controls from the designed form (form.h) and
// the texts of the catalogue, owns the Quiz and serves it as its QuizView: the
// quiz reads captions and writes the output box only through the QuizView
// operations below, which look their control up by group and index each time.
// The Click of every option and button goes through its QButtonGroup, whose id
// is the control's index, straight to the quiz handler of that group.
//
// The keyboard (Tab, the arrows, Enter, Ctrl+Q) is the Keyboard's, which the
// window hands its focus movements to. Pressing either button moves the focus
// to the output box, so a screen reader reads out the verdict the button has
// just written. How the controls look is the application's style's.
//
// Controls carry the object names the window is described with: "Label1(0)",
// "Frame1(0..1)", "Option1(0..32)", "Option2(0..4)", "Command1(0..1)", "Text1(0)".

#include "quiz.h"
#include "quizview.h"

#include <QWidget>

class Keyboard;
class OutputBox;
class QButtonGroup;
class QGroupBox;

class Tesmoril : public QWidget, public QuizView
{
    Q_OBJECT

public:
    explicit Tesmoril(QWidget* parent = nullptr);

    const Quiz& quiz() const { return quiz_; }

    void SetOptionChecked(OptionGroup group, std::int16_t index, bool checked) override;
    void SetOptionEnabled(OptionGroup group, std::int16_t index, bool enabled) override;
    std::string OptionCaption(OptionGroup group, std::int16_t index) const override;
    std::string KeyEntry(std::int16_t variety) const override;
    std::string DescriptionEntry(std::int16_t variety) const override;
    std::string GetOutputText() const override;
    void SetOutputText(const std::string& text) override;

protected:
    bool focusNextPrevChild(bool next) override;

private:
    void createBanner();
    QGroupBox* createFrame(const QString& name, const QString& title, QRect geometry);
    void createVarietyOptions(QGroupBox* frame);
    void createSpeciesOptions(QGroupBox* frame);
    void createCommands();
    void createOutputBox();
    void connectGroups();

    QButtonGroup* group(OptionGroup group) const;
    void onCommandClick(int id);

    Quiz quiz_{*this};
    QButtonGroup* varieties_ = nullptr;
    QButtonGroup* species_ = nullptr;
    QButtonGroup* commands_ = nullptr;
    OutputBox* output_ = nullptr;
    Keyboard* keyboard_ = nullptr;
};
