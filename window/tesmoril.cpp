#include "tesmoril.h"

#include "buildinfo.h"
#include "catalogue.h"
#include "introtext.h"
#include "layout.h"
#include "optionbutton.h"
#include "quitkey.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A background colour through the palette, which is cheap to set up. Text
// colours come from the application's palette, which prepareApplication() sets.
void paint(QWidget* widget, layout::Rgb background)
{
    QPalette palette = widget->palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button})
        palette.setColor(role, layout::toColor(background));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// A push button paints a palette colour only through the style, so its colours
// come from a style sheet. It shows the focus by a frame of the focus colour
// rather than the style's focus rectangle, which tints the whole button; the
// padding keeps the caption in place as the frame widens.
QString commandStyleSheet(layout::Rgb c)
{
    const QColor background = layout::toColor(c);
    return QStringLiteral("QPushButton { background-color: %1; color: %3; outline: none;"
                          " border: 1px solid #404040; padding: 1px; }"
                          "QPushButton:focus { border: 2px solid %4; padding: 0px; }"
                          "QPushButton:pressed { background-color: %2; }")
        .arg(background.name(), background.darker(115).name(),
             layout::toColor(layout::kTextColour).name(),
             layout::toColor(layout::kFocusColour).name());
}

// The output box's own frame: dark while it has the focus.
void showFocusFrame(QPlainTextEdit* box, bool focused)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::WindowText,
                     layout::toColor(focused ? layout::kFocusColour : layout::kOutputFrameColour));
    box->setPalette(palette);
}

// Where STEPS from AT lands in a ring of COUNT places, either way round.
std::size_t around(std::ptrdiff_t at, std::ptrdiff_t steps, std::ptrdiff_t count)
{
    return std::size_t(((at + steps) % count + count) % count);
}

QString indexedName(const char* array, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(index);
}

} // namespace

Tesmoril::Tesmoril(QWidget* parent) : QWidget(parent)
{
    OptionButton::registerAccessibleInterface();
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
            option->installEventFilter(this);
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
        option->installEventFilter(this);
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
        button->installEventFilter(this);
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
    // A frame of our own, which turns dark while the box has the focus: the
    // style's frame shows no focus at all.
    output_->setFrameStyle(QFrame::Box | QFrame::Plain);
    output_->setLineWidth(2);
    showFocusFrame(output_, false);
    output_->installEventFilter(this);
    // Without this the box would keep Tab for itself, and it has the focus at start.
    output_->setTabChangesFocus(true);
    output_->setPlainText(fromUtf8(kIntroductoryText));
    output_->setFocus();
}

// The Tab cycle, each group of options one stop at its lowest tab index:
// output box, varieties, minerals, "Изведи", "Чисти". A group is entered at
// its checked option, else at its first enabled one in tab order.
void Tesmoril::orderTabStops()
{
    std::vector<std::pair<int, QWidget*>> varieties, species;
    for (const auto& column : layout::kVarietyGrid) {
        for (const layout::GridCell& cell : column)
            varieties.emplace_back(cell.tabIndex, varieties_->button(cell.variety));
    }
    for (int k = 0; k < int(layout::kSpeciesTabIndices.size()); ++k)
        species.emplace_back(layout::speciesOption(k).tabIndex, species_->button(k));

    const auto groupStop = [](std::vector<std::pair<int, QWidget*>> options) {
        std::sort(options.begin(), options.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        TabStop stop{options.front().first, {}};
        for (const auto& option : options)
            stop.controls.push_back(option.second);
        return stop;
    };
    tabStops_ = {
        {layout::kOutputBox.tabIndex, {output_}}, groupStop(varieties), groupStop(species)};
    for (int i = 0; i < int(layout::kCommands.size()); ++i)
        tabStops_.push_back({layout::kCommands.at(i).tabIndex, {commands_->button(i)}});
    std::sort(tabStops_.begin(), tabStops_.end(),
              [](const TabStop& a, const TabStop& b) { return a.tabIndex < b.tabIndex; });
}

QWidget* Tesmoril::entryOf(const TabStop& stop)
{
    for (QWidget* control : stop.controls) {
        auto* option = qobject_cast<QAbstractButton*>(control);
        if (option && option->isCheckable() && option->isChecked())
            return option;
    }
    for (QWidget* control : stop.controls) {
        if (control->isEnabled())
            return control;
    }
    return nullptr; // every option of the group retired
}

bool Tesmoril::focusNextPrevChild(bool next)
{
    QWidget* focus = focusWidget();
    const auto at = std::find_if(tabStops_.begin(), tabStops_.end(), [focus](const TabStop& stop) {
        return std::find(stop.controls.begin(), stop.controls.end(), focus) != stop.controls.end();
    });
    if (at == tabStops_.end())
        return QWidget::focusNextPrevChild(next);

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

// The option an arrow key leads to from OPTION, skipping retired ones, or
// null. The varieties run down the columns in alphabetical order, Up and Down
// following it from one column into the next; Left and Right keep the row.
// The minerals run top to bottom. Both wrap round at their ends.
QAbstractButton* Tesmoril::optionAfterArrow(QAbstractButton* option, int key) const
{
    const bool forward = key == Qt::Key_Down || key == Qt::Key_Right;
    std::vector<QAbstractButton*> order;
    if (option->group() == varieties_ && (key == Qt::Key_Left || key == Qt::Key_Right)) {
        for (const auto& cells : layout::kVarietyGrid) {
            const auto row =
                std::find_if(cells.begin(), cells.end(), [&](const layout::GridCell& c) {
                    return varieties_->button(c.variety) == option;
                });
            if (row != cells.end()) {
                for (const auto& column : layout::kVarietyGrid)
                    order.push_back(
                        varieties_->button(column.at(std::size_t(row - cells.begin())).variety));
            }
        }
    } else if (option->group() == varieties_) {
        for (const auto& cells : layout::kVarietyGrid) {
            for (const layout::GridCell& cell : cells)
                order.push_back(varieties_->button(cell.variety));
        }
    } else {
        for (int k = 0; k < int(layout::kSpeciesTabIndices.size()); ++k)
            order.push_back(species_->button(k));
    }

    const auto count = std::ptrdiff_t(order.size());
    const std::ptrdiff_t from = std::find(order.begin(), order.end(), option) - order.begin();
    for (std::ptrdiff_t step = 1; step < count; ++step) {
        QAbstractButton* candidate = order.at(around(from, forward ? step : -step, count));
        if (candidate->isEnabled())
            return candidate;
    }
    return nullptr;
}

bool Tesmoril::eventFilter(QObject* watched, QEvent* event)
{
    // Ctrl+Q closes the program, beside the window's own close button,
    // whatever the keyboard layout.
    if (event->type() == QEvent::KeyPress && isQuitKey(*static_cast<QKeyEvent*>(event))) {
        close();
        return true;
    }
    if (watched == output_) { // its frame shows the focus; its keys are its own
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            showFocusFrame(output_, event->type() == QEvent::FocusIn);
        return false;
    }
    // Otherwise an option or a button.
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    if ((keyEvent->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    auto* button = static_cast<QAbstractButton*>(watched);
    const int key = keyEvent->key();

    // Enter presses a button, as Space does.
    if (button->group() == commands_) {
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        button->click();
        return true;
    }

    if (key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_Left && key != Qt::Key_Right)
        return false;
    // As the arrows always have: the focus moves, and the choice moves with
    // it while the option left behind was chosen.
    if (QAbstractButton* target = optionAfterArrow(button, key)) {
        if (button->isChecked())
            target->click();
        const bool back = key == Qt::Key_Up || key == Qt::Key_Left;
        target->setFocus(back ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    }
    return true;
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
    // The box keeps each CR LF as a paragraph break and gives it back as LF;
    // everything the quiz writes breaks lines with CR LF only.
    return output_->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdString();
}

void Tesmoril::SetOutputText(const std::string& text)
{
    output_->setPlainText(QString::fromStdString(text));
}
