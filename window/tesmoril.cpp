#include "tesmoril.h"

#include "buildinfo.h"
#include "catalogue.h"
#include "introtext.h"
#include "layout.h"
#include "optionbutton.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Background and text colours through the palette, which is cheap to set up.
// The text colour is set too, so a dark desktop theme cannot make it unreadable.
void paint(QWidget* widget, layout::Rgb background)
{
    QPalette palette = widget->palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button})
        palette.setColor(role, layout::toColor(background));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(role, layout::toColor(layout::kTextColour));
    palette.setColor(QPalette::Disabled, QPalette::WindowText,
                     layout::toColor(layout::kDisabledTextColour));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText,
                     layout::toColor(layout::kDisabledTextColour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// A push button paints a palette colour only through the style, so its colours
// come from a style sheet, which also keeps a visible focus frame.
QString commandStyleSheet(layout::Rgb c)
{
    const QColor background = layout::toColor(c);
    const QString text = layout::toColor(layout::kTextColour).name();
    return QStringLiteral("QPushButton { background-color: %1; color: %3;"
                          " border: 1px solid #404040; }"
                          "QPushButton:focus { border: 2px solid %3; }"
                          "QPushButton:pressed { background-color: %2; }")
        .arg(background.name(), background.darker(115).name(), text);
}

QString indexedName(const char* array, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(index);
}

} // namespace

Tesmoril::Tesmoril(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Tesmoril"));
    setWindowTitle(QStringLiteral(ORSETA_HOMEPAGE "  Тесморил"));
    // A Wayland compositor may maximise, tile or fullscreen any window, and
    // ends a program whose maximised surface keeps a size of its own. There
    // the window takes any size from the layout's upwards: the controls keep
    // their places top-left and the window's colour fills the rest.
    const QSize size = layout::toPixels(layout::kClientArea).size();
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        setMinimumSize(size);
        resize(size);
    } else {
        setFixedSize(size);
    }
    paint(this, layout::kWindowColour);

    createBanner();
    createVarietyOptions(createFrame(QStringLiteral("Frame1(0)"), QStringLiteral("Разновидност"),
                                     layout::toPixels(layout::kVarietyFrame)));
    createSpeciesOptions(createFrame(QStringLiteral("Frame1(1)"), QStringLiteral("Минерал"),
                                     layout::toPixels(layout::kSpeciesFrame)));
    createCommands();
    createOutputBox();
    orderTabStops();
    connectGroups();
    // The desktop's usual key for closing a program (Ctrl+Q here), beside the
    // window's own close button.
    auto* quit = new QShortcut(QKeySequence::Quit, this);
    connect(quit, &QShortcut::activated, this, &QWidget::close);

    quiz_.OnFormLoad();
}

void Tesmoril::createBanner()
{
    auto* banner = new QLabel(QStringLiteral("Орсета"), this);
    banner->setObjectName(QStringLiteral("Label1(0)"));
    banner->setGeometry(layout::toPixels(layout::kBanner));
    banner->setAlignment(Qt::AlignCenter);
    paint(banner, layout::kBannerColour);
}

QGroupBox* Tesmoril::createFrame(const QString& name, const QString& title, QRect geometry)
{
    auto* frame = new QGroupBox(title, this);
    frame->setObjectName(name);
    frame->setGeometry(geometry);
    paint(frame, layout::kFrameColour);
    return frame;
}

void Tesmoril::createVarietyOptions(QGroupBox* frame)
{
    varieties_ = new QButtonGroup(this);
    const auto& varieties = catalogue::varieties();
    for (int column = 0; column < int(layout::kVarietyGrid.size()); ++column) {
        for (int row = 0; row < layout::kGridRows; ++row) {
            const std::int16_t v = layout::kVarietyGrid.at(column).at(row).variety;
            auto* option = new OptionButton(fromUtf8(varieties.at(v).caption), frame);
            option->setObjectName(indexedName("Option1", v));
            option->setGeometry(layout::toPixels(layout::varietyOption(column, row)));
            paint(option, layout::kVarietyColumns.at(column).colour);
            varieties_->addButton(option, v);
        }
    }
}

void Tesmoril::createSpeciesOptions(QGroupBox* frame)
{
    species_ = new QButtonGroup(this);
    const auto& captions = catalogue::speciesCaptions();
    for (int k = 0; k < int(captions.size()); ++k) {
        auto* option = new OptionButton(fromUtf8(captions.at(k)), frame);
        option->setObjectName(indexedName("Option2", k));
        option->setGeometry(layout::toPixels(layout::speciesOption(k).place));
        paint(option, layout::kSpeciesColour);
        species_->addButton(option, k);
    }
}

void Tesmoril::createCommands()
{
    commands_ = new QButtonGroup(this);
    commands_->setExclusive(false);
    const QString captions[] = {QStringLiteral("Изведи"), QStringLiteral("Чисти")};
    for (int i = 0; i < int(layout::kCommands.size()); ++i) {
        auto* button = new QPushButton(captions[i], this);
        button->setObjectName(indexedName("Command1", i));
        button->setGeometry(layout::toPixels(layout::kCommands.at(i).place));
        button->setStyleSheet(commandStyleSheet(layout::kCommandColours.at(i)));
        commands_->addButton(button, i);
    }
}

void Tesmoril::createOutputBox()
{
    output_ = new QPlainTextEdit(this);
    output_->setObjectName(QStringLiteral("Text1(0)"));
    output_->setAccessibleName(QStringLiteral("Резултат"));
    output_->setAccessibleDescription(
        QStringLiteral("Отговорът на викторината и описанието на разновидността"));
    output_->setGeometry(layout::toPixels(layout::kOutputBox.place));
    // The quiz writes the box; the learner reads, selects and copies from it.
    output_->setReadOnly(true);
    output_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    output_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    output_->setWordWrapMode(QTextOption::WordWrap);
    output_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    output_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Without this the box would keep Tab for itself, and it has the focus at start.
    output_->setTabChangesFocus(true);
    output_->setPlainText(fromUtf8(kIntroductoryText));
    output_->setFocus();
}

void Tesmoril::orderTabStops()
{
    std::vector<std::pair<int, QWidget*>> stops{{layout::kOutputBox.tabIndex, output_}};
    for (int i = 0; i < int(layout::kCommands.size()); ++i)
        stops.emplace_back(layout::kCommands.at(i).tabIndex, commands_->button(i));
    for (int k = 0; k < int(layout::kSpeciesTabIndices.size()); ++k)
        stops.emplace_back(layout::speciesOption(k).tabIndex, species_->button(k));
    for (const auto& column : layout::kVarietyGrid) {
        for (const layout::GridCell& cell : column)
            stops.emplace_back(cell.tabIndex, varieties_->button(cell.variety));
    }
    std::sort(stops.begin(), stops.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < stops.size(); ++i)
        setTabOrder(stops[i - 1].second, stops[i].second);
}

void Tesmoril::connectGroups()
{
    connect(varieties_, &QButtonGroup::idClicked, this,
            [this](int id) { quiz_.OnVarietyClick(static_cast<std::int16_t>(id)); });
    connect(species_, &QButtonGroup::idClicked, this,
            [this](int id) { quiz_.OnSpeciesClick(static_cast<std::int16_t>(id)); });
    connect(commands_, &QButtonGroup::idClicked, this,
            [this](int id) { quiz_.OnCommandClick(static_cast<std::int16_t>(id)); });
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
    QButtonGroup* buttons = this->group(group);
    QAbstractButton* option = buttons->button(index);
    option->setEnabled(enabled);
    if (!enabled && (option->focusPolicy() & Qt::TabFocus))
        keepReachableByTab(buttons);
}

// Qt makes a group of options one Tab stop: the option that last had the
// focus. Once that option is retired, Tab would never reach the group again,
// so the stop passes to the checked option, or else to every enabled one
// until one of them takes the focus.
void Tesmoril::keepReachableByTab(QButtonGroup* buttons)
{
    QAbstractButton* checked = buttons->checkedButton();
    for (QAbstractButton* option : buttons->buttons()) {
        if (option->isEnabled() && (!checked || option == checked))
            option->setFocusPolicy(Qt::StrongFocus);
    }
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
    // The box keeps each CR LF as a paragraph break and gives it back as LF;
    // everything the quiz writes breaks lines with CR LF only.
    return output_->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdString();
}

void Tesmoril::SetOutputText(const std::string& text)
{
    output_->setPlainText(QString::fromStdString(text));
}
