#pragma once

#include <QRadioButton>

// A radio button that keeps its caption exactly as the quiz quotes it, with a
// trailing CR LF or blank, while it shows and announces the caption without
// them: a line break would push the visible text out of the button, and a
// screen reader should not read out a stray blank.
class OptionButton : public QRadioButton
{
    Q_OBJECT

public:
    OptionButton(const QString& caption, QWidget* parent);

    const QString& caption() const { return caption_; }

private:
    QString caption_;
};
