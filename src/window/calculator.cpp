#include "window/calculator.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "conversion/conversionpanel.h"
#include "core/keypad.h"
#include "core/operators.h"
#include "core/startup.h"
#include "memory/memorypanel.h"
#include "shell/metrics.h"
#include "shell/outside.h"
#include "shell/sounds.h"
#include "shell/typing.h"
#include "tape/tapeview.h"
#include "window/body.h"
#include "window/design.h"

Calculator::Calculator(tally::State& s, SoundPlayer& player, Outside& out, QWidget* parent)
    : QMainWindow(parent), state(s), sounds(player), outside(out) {
    setObjectName("Calculator");
    setWindowTitle("Calculator 1.5");
    createControls();
    createMenus();
    connectHandlers();
    startUp();
}

Calculator::~Calculator() {
    qApp->removeEventFilter(this);
}

void Calculator::play(tally::Sound sound) {
    if (sound != tally::Sound::None)
        sounds.play(sound);
}

void Calculator::tellUser(const QString& title, const QString& text) {
    outside.tell(this, title, text);
    Text2->setFocus();
}

void Calculator::createControls() {
    body = new Body(this);
    body->setObjectName("body");
    body->setFixedSize(design::twips(0, 0, design::kClientWidth, design::kClientHeight).size());
    design::applyFont(body, design::defaultFont());
    setCentralWidget(body);

    design::build(body, design::elements());
    using design::control;
    Text2 = control<QLineEdit>(body, "Text2");
    Text2->setValidator(new SavableText(Text2));
    // The panels take their controls from the table; the tape's cells go under everything.
    tape = new TapeView(body, state.tape, sounds, Text2);
    memory = new MemoryPanel(body, state, sounds, outside, Text2);
    conversion = new ConversionPanel(body, sounds, outside, Text2);
    for (int i = 0; i <= tally::kPointKey; ++i)
        Command1[i] = control<QPushButton>(body, qPrintable(QString("Command1_%1").arg(i)));
    for (const tally::Operator& op : tally::operators())
        Command1.at(op.code) = control<QPushButton>(body, qPrintable(QString("Command1_%1").arg(op.code)));
    knst = control<QLabel>(body, "knst");
    Command2 = control<QPushButton>(body, "Command2");
    for (const char* name : {"Label1", "Label2"})
        control<QLabel>(body, name)->setWordWrap(true);
    setAcceptDrops(true); // a tape file dropped anywhere on the window opens

    QWidget* previous = nullptr;
    for (const char* name : design::tabOrder()) {
        QWidget* w = design::findControl(body, name);
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

void Calculator::createMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("file");
    QAction* mnuOpen = file->addAction("&Open");
    QAction* mnuSaveAs = file->addAction("&Save As");
    QAction* mnuPrint = file->addAction("&Print");
    QAction* mnuExit = file->addAction("E&xit");
    QMenu* xhelp = menuBar()->addMenu("&Help");
    xhelp->setObjectName("xhelp");
    QAction* mnuHelp = xhelp->addAction("Help");
    QAction* mnuAbout = xhelp->addAction("&About");
    // The usual shortcuts, next to the access keys. A shortcut is taken before the focused box
    // sees the key, so Ctrl+O never reaches the entry box's "o".
    mnuOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuHelp->setShortcut(QKeySequence(Qt::Key_F1));

    tapeMenu = new QMenu(this);
    tapeMenu->setObjectName("tapeMenu");
    QAction* mnuCopyTape = tapeMenu->addAction("&Copy Tape");
    mnuRestoreTape = tapeMenu->addAction("&Restore Cleared Tape");
    mnuLastSession = tapeMenu->addAction("Open &Last Session's Tape");
    earlierTapes = tapeMenu->addMenu("&Earlier Tapes");
    earlierTapes->setObjectName("earlierTapes");

    const std::tuple<QAction*, const char*, void (Calculator::*)()> actions[] = {
        {mnuOpen, "mnuOpen", &Calculator::mnuOpen_Click},
        {mnuSaveAs, "mnuSaveAs", &Calculator::mnuSaveAs_Click},
        {mnuPrint, "mnuPrint", &Calculator::mnuPrint_Click},
        {mnuExit, "mnuExit", &Calculator::Command2_Click},
        {mnuHelp, "mnuHelp", &Calculator::mnuHelp_Click},
        {mnuAbout, "mnuAbout", &Calculator::mnuAbout_Click},
        {mnuCopyTape, "mnuCopyTape", &Calculator::mnuCopyTape_Click},
        {mnuRestoreTape, "mnuRestoreTape", &Calculator::mnuRestoreTape_Click},
        {mnuLastSession, "mnuLastSession", &Calculator::mnuLastSession_Click},
    };
    for (auto [action, name, handler] : actions) {
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    }
}

void Calculator::connectHandlers() {
    for (int i = 0; i < static_cast<int>(Command1.size()); ++i)
        if (Command1[i])
            connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    using design::control;
    connect(control<QPushButton>(body, "konst"), &QPushButton::clicked, this, [this] { konst_Click(11); });
    connect(control<QPushButton>(body, "clearit"), &QPushButton::clicked, this, [this] { clearit_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(tape, &TapeView::editorCommand, this, [this](tally::KeyCommand c) { editorCommand(c); });
    connect(tape, &TapeView::menuRequested, this, [this](const QPoint& at) { tapeMenu->popup(at); });
    connect(tape, &TapeView::menuKeyPressed, this, [this] { tapeMenuByKey(); });
    connect(tape, &TapeView::lineCorrected, this, [this] { tapeChanged(); });
    connect(memory, &MemoryPanel::storeClicked, this, [this] {
        const TapeView::Place place = tape->place();
        memory->store_Click(place.viewmode, place.scrollline);
    });
    connect(conversion, &ConversionPanel::tapeUncovered, tape, &TapeView::printout);
    connect(conversion, &ConversionPanel::hidByClick, this, [this] { swallowRestOfClick(); });
    connect(tapeMenu, &QMenu::aboutToShow, this, [this] {
        mnuRestoreTape->setEnabled(!clearedTape.empty());
        listKeptTapes();
    });
    // One application-wide filter serves the key preview and every control the design needs
    // events of (a filter on the control as well would run each handler twice).
    qApp->installEventFilter(this);
}

void Calculator::startUp() {
    state.tape.nextline = 1;
    if (const QSize screen = outside.screenSize(); !screen.isEmpty()) {
        const tally::WindowOrigin origin = tally::centredOrigin(screen.width(), screen.height());
        move(tally::twipsToPixels(origin.left), tally::twipsToPixels(origin.top));
    }
    numberlock();

    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // Typing works at once: without this the first tab stop, the slider, would take the digits.
    Text2->setFocus();
}
