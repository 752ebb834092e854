#include "window/calculator.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QTreeWidget>

#include "core/startup.h"
#include "tape/cells.h"
#include "window/body.h"
#include "window/design.h"

namespace {

template <class W>
W* make(QWidget* parent, const QString& name) {
    auto* w = new W(parent);
    w->setObjectName(name);
    return w;
}

constexpr int kKeypadIndexes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 16};

} // namespace

Calculator::Calculator(tally::State& s, SoundPlayer& player, QWidget* parent)
    : QMainWindow(parent), state(s), sounds(player) {
    tellUser = [this](const QString& title, const QString& text) {
        QMessageBox::information(this, title, text);
        if (Text2) Text2->setFocus();
    };
    askFileName = [this](bool forSaving) { return chooseTapeFile(forSaving); };
    endProgram = [] {
        QApplication::closeAllWindows();
        QCoreApplication::quit();
    };
    setObjectName("Calculator");
    setWindowTitle("Calculator 1.5");
    createControls();
    createMenus();
    connectHandlers();
    startUp();
}

Calculator::~Calculator() { qApp->removeEventFilter(this); }

void Calculator::createControls() {
    design::installFontSubstitutes();
    body = new Body(this);
    body->setObjectName("body");
    body->setFixedSize(design::twips(0, 0, design::kClientWidth, design::kClientHeight).size());
    design::applyFont(body, design::defaultFont());
    setCentralWidget(body);

    // Creation order is drawing order: labels first, windowed controls over them.
    const auto rows = design::tapeRows();
    std::array<std::array<QLabel*, 9>*, 3> columns{&Label10, &Label11, &Label12};
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const design::TapeColumn& column = design::tapeColumns()[c];
        for (int r = 0; r < tally::kVisibleRows; ++r) {
            auto* cell = make<QLabel>(body, QString("%1_%2").arg(column.array).arg(r));
            const design::TapeRow& row = rows[r];
            design::apply(cell, {column.array, column.left, row.top, column.width, row.height, "", design::tapeFont(),
                                 row.background, row.text, true, design::AlignRight, nullptr});
            (*columns[c])[r] = cell;
        }
    }
    const std::pair<QLabel**, const char*> labels[] = {{&Label7, "Label7"}, {&Label8, "Label8"}, {&Label9, "Label9"},
                                                       {&Label2, "Label2"}, {&knst, "knst"},     {&Label6, "Label6"},
                                                       {&Label1, "Label1"}, {&Label5, "Label5"}, {&Label3, "Label3"}};
    for (auto [label, name] : labels) *label = make<QLabel>(body, name);
    Label1->setWordWrap(true);
    Label2->setWordWrap(true);

    Text2 = make<QLineEdit>(body, "Text2");
    Text2->setAccessibleName("Entry");
    Text3 = make<QLineEdit>(body, "Text3");
    Text3->setAccessibleName("Row editor");
    Text3->hide();
    for (int i : kKeypadIndexes) Command1[i] = make<QPushButton>(body, QString("Command1_%1").arg(i));
    konst = make<QPushButton>(body, "konst");
    store = make<QPushButton>(body, "store");
    clearit = make<QPushButton>(body, "clearit");
    Command2 = make<QPushButton>(body, "Command2");

    VScroll1 = make<QScrollBar>(body, "VScroll1");
    VScroll1->setOrientation(Qt::Vertical);
    VScroll1->setRange(1, tally::kTapeLines);
    VScroll1->setValue(1);
    VScroll1->setSingleStep(1);
    VScroll1->setPageStep(1);
    // One change per move, at the end of a drag: each change plays a sound and redraws.
    VScroll1->setTracking(false);
    // A scroll bar takes no focus by default, and its focus handler must run.
    VScroll1->setFocusPolicy(Qt::StrongFocus);
    VScroll1->setAccessibleName("Tape scroll");

    Slider1 = make<QSlider>(body, "Slider1");
    Slider1->setOrientation(Qt::Horizontal);
    Slider1->setRange(0, 4);
    Slider1->setValue(2);
    Slider1->setTickPosition(QSlider::TicksBelow);
    Slider1->setTickInterval(1);
    Slider1->setPageStep(1);
    Slider1->setAccessibleName("Decimal places");

    List1 = make<QListWidget>(body, "List1");
    List1->setAccessibleName("Stored subtotals");
    List2 = make<QListWidget>(body, "List2");
    List2->setAccessibleName("Total of stored subtotals");
    List2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    removelist = make<QPushButton>(body, "removelist");
    clearlist = make<QPushButton>(body, "clearlist");

    conversion = make<QComboBox>(body, "conversion");
    conversion->setEditable(true);
    conversion->setInsertPolicy(QComboBox::NoInsert);
    conversion->setAccessibleName("Conversion category");
    convert = make<QPushButton>(body, "convert");
    ListView1 = make<QTreeWidget>(body, "ListView1");
    ListView1->setAccessibleName("Conversion factors");
    ListView1->setRootIsDecorated(false);
    ListView1->setColumnCount(4);
    ListView1->setHeaderLabels({"From", "Conversion", "To", "x"});
    const int columnWidths[] = {2550, 1125, 2550, 1500};
    for (int c = 0; c < 4; ++c) ListView1->setColumnWidth(c, tally::twipsToPixels(columnWidths[c]));
    ListView1->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    ListView1->hide();

    for (const design::Element& e : design::elements())
        if (auto* w = body->findChild<QWidget*>(QString::fromLatin1(e.name), Qt::FindDirectChildrenOnly))
            design::apply(w, e);
    // Labels and buttons read as their own text; the design names are only object names.
    for (QLabel* label : body->findChildren<QLabel*>()) label->setAccessibleName(label->text());

    QWidget* previous = nullptr;
    for (const char* name : design::tabOrder()) {
        auto* w = body->findChild<QWidget*>(QString::fromLatin1(name));
        if (previous && w) QWidget::setTabOrder(previous, w);
        if (w) previous = w;
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
    const std::pair<QAction*, const char*> names[] = {{mnuOpen, "mnuOpen"}, {mnuSaveAs, "mnuSaveAs"},
                                                      {mnuPrint, "mnuPrint"}, {mnuExit, "mnuExit"},
                                                      {mnuHelp, "mnuHelp"}, {mnuAbout, "mnuAbout"}};
    for (auto [action, name] : names) action->setObjectName(name);
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
    connect(ListView1, &QTreeWidget::itemClicked, this, [this] { ListView1_Click(); });
    connect(convert, &QPushButton::clicked, this, [this] { convert_Click(); });
    connect(store, &QPushButton::clicked, this, [this] { store_Click(); });
    connect(removelist, &QPushButton::clicked, this, [this] { removelist_Click(); });
    connect(clearlist, &QPushButton::clicked, this, [this] { clearlist_Click(); });
    connect(mnuPrint, &QAction::triggered, this, [this] { mnuPrint_Click(); });
    connect(mnuHelp, &QAction::triggered, this, [this] { mnuHelp_Click(); });
    connect(mnuAbout, &QAction::triggered, this, [this] { mnuAbout_Click(); });
    // Direct: the change handler runs inside the setter, and only on a real change.
    connect(VScroll1, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); }, Qt::DirectConnection);
    connect(Slider1, &QSlider::valueChanged, this, [this] { Slider1_Scroll(); });
    // One application-wide filter serves the key preview and every control the design needs
    // events of (a filter on the control as well would run each handler twice).
    qApp->installEventFilter(this);
}

void Calculator::startUp() {
    state.nextline = 1;
    decplaces = 2;
    for (std::size_t i = 0; i < patterns.size(); ++i) patterns[i] = std::string(tally::kSubtotalPatterns[i]);

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
