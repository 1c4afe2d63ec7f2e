// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The quiz window. It builds its controls from the table in layout.h and the
// texts of the catalogue, owns the Quiz and serves it as its QuizView: the
// quiz reads captions and writes the output box only through the QuizView
// operations below, which look their control up by group and index each time.
// The Click of every option and button goes through its QButtonGroup, whose id
// is the control's index, straight to the quiz handler of that group.
//
// The keyboard: Tab walks a fixed cycle of five stops, output box, varieties,
// minerals, "Изведи", "Чисти", each group of options one stop; the arrows
// move within a group, in the varieties along the alphabetical order of the
// grid. Pressing either button moves the focus to the output box, so a screen
// reader reads out the verdict the button has just written.
//
// Controls carry the object names the window is described with: "Label1(0)",
// "Frame1(0..1)", "Option1(0..32)", "Option2(0..4)", "Command1(0..1)", "Text1(0)".

#include "quiz.h"
#include "quizview.h"

#include <QWidget>

#include <vector>

class QAbstractButton;
class QButtonGroup;
class QGroupBox;
class QPlainTextEdit;

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
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One stop of the Tab cycle: a single control, or a group of options
    // listed by tab index.
    struct TabStop
    {
        int tabIndex;
        std::vector<QWidget*> controls;
    };

    void createBanner();
    QGroupBox* createFrame(const QString& name, const QString& title, QRect geometry);
    void createVarietyOptions(QGroupBox* frame);
    void createSpeciesOptions(QGroupBox* frame);
    void createCommands();
    void createOutputBox();
    void orderTabStops();
    void connectGroups();

    QButtonGroup* group(OptionGroup group) const;
    static QWidget* entryOf(const TabStop& stop);
    QAbstractButton* optionAfterArrow(QAbstractButton* option, int key) const;
    void onCommandClick(int id);

    Quiz quiz_{*this};
    QButtonGroup* varieties_ = nullptr;
    QButtonGroup* species_ = nullptr;
    QButtonGroup* commands_ = nullptr;
    QPlainTextEdit* output_ = nullptr;
    std::vector<TabStop> tabStops_; // in Tab order
};
