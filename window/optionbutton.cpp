#include "optionbutton.h"

namespace {
QString withoutTrailingSpace(QString text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    text.truncate(end);
    return text;
}
} // namespace

OptionButton::OptionButton(const QString& caption, QWidget* parent)
    : QRadioButton(withoutTrailingSpace(caption), parent), caption_(caption)
{
}
