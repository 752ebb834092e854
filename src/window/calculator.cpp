#include "window/calculator.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QTreeWidget>
#include <QValidator>

#include "core/startup.h"
#include "core/taperule.h"
#include "shell/access.h"
#include "shell/metrics.h"
#include "shell/sounds.h"
#include "tape/cells.h"
#include "tape/tapereading.h"
#include "window/body.h"
#include "window/design.h"

namespace {
constexpr int kKeypadIndexes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 16};

// Refuses a paste that holds what a tape file cannot carry: once written into a line, it would
// not read back the same after Save As and Open.
class SavableText : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return tally::savable(input.toStdString()) ? Acceptable : Invalid;
    }
};
} // namespace

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

QString Calculator::askFileName(bool forSaving) {
    return outside.askFileName(this, forSaving ? Outside::FileKind::SaveTape : Outside::FileKind::OpenTape);
}

void Calculator::createControls() {
    body = new Body(this);
    body->setObjectName("body");
    body->setFixedSize(design::twips(0, 0, design::kClientWidth, design::kClientHeight).size());
    design::applyFont(body, design::defaultFont());
    setCentralWidget(body);

    // Creation order is drawing order: the tape cells first, the table's controls over them.
    std::array<std::array<QLabel*, 9>*, 3> columns{&Label10, &Label11, &Label12};
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const design::TapeColumn& column = design::tapeColumns()[c];
        for (int r = 0; r < tally::kVisibleRows; ++r) {
            const design::TapeRow& row = design::tapeRows()[r];
            auto* cell = new QLabel(body);
            cell->setObjectName(QString("%1_%2").arg(column.array).arg(r));
            design::apply(cell,
                          {column.array, design::Kind::Label, column.left, row.top, column.width, row.height, "",
                           design::tapeFont(), row.background, row.text, true, design::AlignRight, nullptr, nullptr});
            (*columns[c])[r] = cell;
        }
    }
    design::build(body, design::elements());
    sureFit = {sureFitChars(Label11[0]), sureFitChars(Label12[0])};

    using design::control;
    Text2 = control<QLineEdit>(body, "Text2");
    Text3 = control<QLineEdit>(body, "Text3");
    for (QLineEdit* box : {Text2, Text3})
        box->setValidator(new SavableText(box));
    for (int i : kKeypadIndexes)
        Command1[i] = control<QPushButton>(body, qPrintable(QString("Command1_%1").arg(i)));
    konst = control<QPushButton>(body, "konst");
    knst = control<QLabel>(body, "knst");
    store = control<QPushButton>(body, "store");
    clearit = control<QPushButton>(body, "clearit");
    Command2 = control<QPushButton>(body, "Command2");
    Label6 = control<QLabel>(body, "Label6");
    VScroll1 = control<QScrollBar>(body, "VScroll1");
    Slider1 = control<QSlider>(body, "Slider1");
    List1 = control<QListWidget>(body, "List1");
    List2 = control<QListWidget>(body, "List2");
    removelist = control<QPushButton>(body, "removelist");
    clearlist = control<QPushButton>(body, "clearlist");
    conversion = control<QComboBox>(body, "conversion");
    convert = control<QPushButton>(body, "convert");
    ListView1 = control<QTreeWidget>(body, "ListView1");
    Slider1->setValue(2); // before its handler is connected: start-up plays no sound
    for (const char* name : {"Label1", "Label2"})
        control<QLabel>(body, name)->setWordWrap(true);
    // A screen reader on Linux names a combo box by the label it is the buddy of.
    control<QLabel>(body, "Label5")->setBuddy(conversion);
    control<QLabel>(body, "Label1")->setBuddy(Slider1);
    conversion->lineEdit()->setAccessibleName(conversion->accessibleName());
    readTapeRows(*body, *Text2); // lays the list a screen reader reads the tape's lines from
    // The total box shows its one row whole, never a scroll bar over it.
    List2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (QListWidget* list : {List1, List2})
        readTrimmed(*list);

    QStringList headers;
    for (const design::TreeColumn& column : design::conversionColumns())
        headers << column.caption;
    ListView1->setHeaderLabels(headers);
    for (int c = 0; c < headers.size(); ++c)
        ListView1->setColumnWidth(c, tally::twipsToPixels(design::conversionColumns()[c].width));
    ListView1->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    showFactorCaption(convert->text());
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
    file = menuBar()->addMenu("&File");
    file->setObjectName("file");
    mnuOpen = file->addAction("&Open");
    mnuSaveAs = file->addAction("&Save As");
    mnuPrint = file->addAction("&Print");
    mnuExit = file->addAction("E&xit");
    xhelp = menuBar()->addMenu("&Help");
    xhelp->setObjectName("xhelp");
    mnuHelp = xhelp->addAction("Help");
    mnuAbout = xhelp->addAction("&About");
    const std::pair<QAction*, const char*> names[] = {{mnuOpen, "mnuOpen"},   {mnuSaveAs, "mnuSaveAs"},
                                                      {mnuPrint, "mnuPrint"}, {mnuExit, "mnuExit"},
                                                      {mnuHelp, "mnuHelp"},   {mnuAbout, "mnuAbout"}};
    for (auto [action, name] : names)
        action->setObjectName(name);
    // The usual shortcuts, next to the access keys. A shortcut is taken before the focused box
    // sees the key, so Ctrl+O never reaches the entry box's "o".
    mnuOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuHelp->setShortcut(QKeySequence(Qt::Key_F1));

    tapeMenu = new QMenu(this);
    tapeMenu->setObjectName("tapeMenu");
    mnuCopyTape = tapeMenu->addAction("&Copy Tape");
    mnuRestoreTape = tapeMenu->addAction("&Restore Cleared Tape");
    mnuLastSession = tapeMenu->addAction("Open &Last Session's Tape");
    earlierTapes = tapeMenu->addMenu("&Earlier Tapes");
    earlierTapes->setObjectName("earlierTapes");
    mnuCopyTape->setObjectName("mnuCopyTape");
    mnuRestoreTape->setObjectName("mnuRestoreTape");
    mnuLastSession->setObjectName("mnuLastSession");
}

void Calculator::connectHandlers() {
    for (int i : kKeypadIndexes)
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    connect(konst, &QPushButton::clicked, this, [this] { konst_Click(11); });
    connect(clearit, &QPushButton::clicked, this, [this] { clearit_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(mnuExit, &QAction::triggered, this, [this] { Command2_Click(); });
    connect(mnuOpen, &QAction::triggered, this, [this] { mnuOpen_Click(); });
    connect(mnuSaveAs, &QAction::triggered, this, [this] { mnuSaveAs_Click(); });
    connect(conversion, &QComboBox::activated, this, [this] { conversion_Click(); });
    connect(ListView1, &QTreeWidget::itemClicked, this, [this] {
        ListView1_Click();
        if (ListView1->isHidden())
            swallowRestOfClick();
    });
    connect(convert, &QPushButton::clicked, this, [this] { convert_Click(); });
    connect(store, &QPushButton::clicked, this, [this] { store_Click(); });
    connect(removelist, &QPushButton::clicked, this, [this] { removelist_Click(); });
    connect(clearlist, &QPushButton::clicked, this, [this] { clearlist_Click(); });
    connect(mnuPrint, &QAction::triggered, this, [this] { mnuPrint_Click(); });
    connect(mnuHelp, &QAction::triggered, this, [this] { mnuHelp_Click(); });
    connect(mnuAbout, &QAction::triggered, this, [this] { mnuAbout_Click(); });
    connect(mnuCopyTape, &QAction::triggered, this, [this] { mnuCopyTape_Click(); });
    connect(mnuRestoreTape, &QAction::triggered, this, [this] { mnuRestoreTape_Click(); });
    connect(mnuLastSession, &QAction::triggered, this, [this] { mnuLastSession_Click(); });
    connect(tapeMenu, &QMenu::aboutToShow, this, [this] {
        mnuRestoreTape->setEnabled(!clearedTape.empty());
        listKeptTapes();
    });
    for (auto* column : {&Label10, &Label11, &Label12})
        for (QLabel* cell : *column) {
            cell->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(cell, &QWidget::customContextMenuRequested, this,
                    [this, cell](const QPoint& at) { tapeMenu->popup(cell->mapToGlobal(at)); });
        }
    // Direct: the change handler runs inside the setter, and only on a real change.
    connect(
        VScroll1, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); }, Qt::DirectConnection);
    connect(Slider1, &QSlider::valueChanged, this, [this] { Slider1_Scroll(); });
    // One application-wide filter serves the key preview and every control the design needs
    // events of (a filter on the control as well would run each handler twice).
    qApp->installEventFilter(this);
}

void Calculator::startUp() {
    state.nextline = 1;
    decplaces = 2;
    for (std::size_t i = 0; i < patterns.size(); ++i)
        patterns[i] = std::string(tally::kSubtotalPatterns[i]);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        const tally::WindowOrigin origin = tally::centredOrigin(s.width(), s.height());
        move(tally::twipsToPixels(origin.left), tally::twipsToPixels(origin.top));
    }
    numberlock();
    conversion->addItems({"None", "Area", "Concentration", "Length", "Volume", "Weight"});
    conversion->setEditText("None");

    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // Typing works at once: without this the first tab stop, the slider, would take the digits.
    Text2->setFocus();
}
