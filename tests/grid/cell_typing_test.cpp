// Typing, pasting and deleting in the data cells: the character filter
// with its room rule, the write-back of every change and where the caret
// goes afterwards.
#include "grid_fixture.h"

#include <QMimeData>
#include <QUrl>

using namespace quorvane;
using namespace quorvane::test;

namespace {

// One key pressed in a HEX cell of the record in the cell's row, the grid
// at the top and `h` bytes right.
struct Keystroke {
    QString data{};
    qint16 size = 0;
    int h = 0;
    int cell = 0;
    int caret = 0;
    int selected = 0; // characters left of the caret
    QKeyCombination key{};
    QString clipboard{};
    QString stored{};
    int focus = 0; // the focused cell and its caret afterwards
    int focusCaret = 0;
    int hAfter = 0;
};

} // namespace

Q_DECLARE_METATYPE(Keystroke)

class CellTypingTest : public GridTest {
    Q_OBJECT
private slots:
    void keystroke_data()
    {
        QTest::addColumn<Keystroke>("k");
        const auto row = [](const char* name, const Keystroke& k) { QTest::newRow(name) << k; };
        const QKeyCombination paste = Qt::CTRL | Qt::Key_V;
        const QString full = QStringLiteral("00112233"); // size 4: no room
        const QString ab = QStringLiteral("001122AB4455");
        const QString b15 = hexBytes(15), b251 = hexBytes(251), cd = b251 + QStringLiteral("CD");
        const QString twenty = hexBytes(10, 0x40), forty = hexBytes(20, 0x40);
        // A cell completed at its end moves on as Right does, scrolling at column 15.
        row("second digit moves on", {.data = "1", .caret = 1, .key = Qt::Key_A, .stored = "1A", .focus = 1});
        row("completed before the last digit stays", {.data = "1", .key = Qt::Key_A, .stored = "A1", .focusCaret = 1});
        row("auto-advance at column 15",
            {.data = b15 + "A", .cell = 15, .caret = 1, .key = Qt::Key_B,
             .stored = b15 + "AB", .focus = 15, .hAfter = 1});
        row("auto-advance at offset 236",
            {.data = b251 + "C", .h = 236, .cell = 15, .caret = 1, .key = Qt::Key_D,
             .stored = cd, .focus = 15, .focusCaret = 2, .hAfter = 236});
        row("a full unsized record refuses a digit",
            {.data = cd, .h = 236, .cell = 15, .key = Qt::Key_E, .stored = cd, .focus = 15, .hAfter = 236});
        // Room: only a selection makes room; Backspace, copy and cut always pass.
        row("digit without room",
            {.data = full, .size = 4, .cell = 1, .caret = 2, .key = Qt::Key_5,
             .stored = full, .focus = 1, .focusCaret = 2});
        row("paste without room",
            {.data = full, .size = 4, .cell = 1, .caret = 2, .key = paste, .clipboard = "99",
             .stored = full, .focus = 1, .focusCaret = 2});
        row("digit replacing a selection",
            {.data = full, .size = 4, .cell = 1, .caret = 2, .selected = 1, .key = Qt::Key_5,
             .stored = "00152233", .focus = 2});
        row("backspace always",
            {.data = full, .size = 4, .cell = 1, .caret = 2, .key = Qt::Key_Backspace,
             .stored = "0012233", .focus = 1, .focusCaret = 1});
        row("copy always",
            {.data = full, .size = 4, .cell = 1, .caret = 2, .selected = 2, .key = Qt::CTRL | Qt::Key_C,
             .stored = full, .focus = 1});
        row("cut always",
            {.data = full, .size = 4, .cell = 1, .caret = 2, .selected = 2, .key = Qt::CTRL | Qt::Key_X,
             .stored = "002233", .focus = 1});
        // Into a full cell: the caret follows the inserted digit.
        row("insert after the first digit",
            {.data = ab, .cell = 3, .caret = 1, .key = Qt::Key_5,
             .stored = "001122A5B4455", .focus = 4});
        row("insert before the first digit",
            {.data = ab, .cell = 3, .key = Qt::Key_5,
             .stored = "0011225AB4455", .focus = 3, .focusCaret = 1});
        row("insert after the second digit",
            {.data = ab, .cell = 3, .caret = 2, .key = Qt::Key_5,
             .stored = "001122AB54455", .focus = 4, .focusCaret = 1});
        row("paste 20 digits", {.data = "", .key = paste, .clipboard = twenty, .stored = twenty, .focus = 10});
        row("paste 40 digits scrolls",
            {.data = "", .key = paste, .clipboard = forty,
             .stored = forty, .focus = 15, .hAfter = 5});
        row("paste cut to the size",
            {.data = "", .size = 6, .key = paste, .clipboard = forty,
             .stored = forty.left(12), .focus = 6});
        // Data longer than its size, edited with the window past the size:
        // the caret's byte lies left of the window and stays in the row.
        row("paste left of the window",
            {.data = hexBytes(20), .size = 2, .h = 10, .cell = 82, .caret = 2, .selected = 1,
             .key = paste, .clipboard = "777",
             .stored = hexBytes(2), .focus = 80, .hAfter = 10});
        // Fewer than two digits: the caret stays where the edit left it.
        row("delete the first digit", {.data = "ABCDEF", .key = Qt::Key_Delete, .stored = "BCDEF"});
        row("backspace the last digit",
            {.data = "ABCDEF", .cell = 1, .caret = 2, .key = Qt::Key_Backspace,
             .stored = "ABCEF", .focus = 1, .focusCaret = 1});
        // The grid inserts converted lower case itself and must respect the lock.
        row("locked cell", {.data = "AB", .cell = 2, .key = Qt::Key_A, .stored = "AB", .focus = 2});
        // Keys that paste or type without a plain character still meet the filter.
        row("shift+insert without room",
            {.data = full, .size = 4, .cell = 1, .caret = 2, .key = Qt::SHIFT | Qt::Key_Insert, .clipboard = "99",
             .stored = full, .focus = 1, .focusCaret = 2});
        row("alt with a letter", {.data = "", .key = Qt::ALT | Qt::Key_G, .stored = ""});
    }

    void keystroke()
    {
        QFETCH(Keystroke, k);
        const int slot = k.cell / 16;
        load({{slot, hexRecord(k.data, k.size)}});
        scrollTo(0, k.h);
        QGuiApplication::clipboard()->setText(k.clipboard);
        startIn(cell(k.cell), k.caret, k.selected);
        const QString selection = cell(k.cell)->selectedText();

        press(k.key.key(), k.key.keyboardModifiers());

        QCOMPARE(data(slot), k.stored);
        QCOMPARE(focusName(), QStringLiteral("Text_data_%1").arg(k.focus));
        QCOMPARE(focusCaret(), k.focusCaret);
        QCOMPARE(int(grid->view().FocusDataIndex), k.focus);
        QCOMPARE(grid->byteScroll()->value(), k.hAfter);
        QCOMPARE(grid->layout().leftByte(), k.hAfter);
        QCOMPARE(dataIndex(0), twoDigitHex(k.hAfter));
        QCOMPARE(rowTexts(slot).join(QString()), k.stored.mid(2 * k.hAfter, 32)); // the row shows the data
        QCOMPARE(state.Modified, k.stored != k.data);
        QCOMPARE(captionCalls > 0, state.Modified);
        if (k.key.key() == Qt::Key_C || k.key.key() == Qt::Key_X)
            QCOMPARE(QGuiApplication::clipboard()->text(), selection);
    }

    // Only keys put text into a control: no drop, context menu or input method.
    void textArrivesOnlyThroughTheKeyFilters_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("contextMenu");
        QTest::addColumn<bool>("inputMethods");
        QTest::newRow("title") << "Text_title_2" << true << true;
        QTest::newRow("address") << "Text_address_2" << false << false;
        QTest::newRow("size") << "Text_size_2" << false << false;
        QTest::newRow("HEX cell unlocked by a redraw") << "Text_data_33" << false << false;
        QTest::newRow("ASCII cell") << "Text_data_16" << false << true;
    }

    void textArrivesOnlyThroughTheKeyFilters()
    {
        QFETCH(QString, name);
        QFETCH(bool, contextMenu);
        QFETCH(bool, inputMethods);
        load({{1, asciiRecord(QStringLiteral("t"))}, {2, hexRecord(QStringLiteral("AB"))}});
        QLineEdit* edit = control(name);
        QCOMPARE(edit->contextMenuPolicy() != Qt::NoContextMenu, contextMenu);
        QCOMPARE(edit->testAttribute(Qt::WA_InputMethodEnabled), inputMethods);
        QCOMPARE(type(2)->acceptDrops(), false);
    }

    // A drop must never type into a control; whatever is dropped on a data
    // cell goes to the drop handler, which tells the user what it makes of it.
    void drops_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("file");
        QTest::addColumn<bool>("handler");
        QTest::addColumn<bool>("taken");
        QTest::newRow("file on a cell, no handler") << "Text_data_0" << true << false << false;
        QTest::newRow("file on a cell") << "Text_data_0" << true << true << true;
        QTest::newRow("text on a cell") << "Text_data_0" << false << true << true;
        QTest::newRow("file on an address") << "Text_address_0" << true << true << false;
        QTest::newRow("text on a title") << "Text_title_0" << false << true << false;
    }

    void drops()
    {
        QFETCH(QString, name);
        QFETCH(bool, file);
        QFETCH(bool, handler);
        QFETCH(bool, taken);
        const KeyRecord record = titled(hexRecord(QStringLiteral("AABBCCDD"), 4), QStringLiteral("t"));
        load({{0, record}});
        QMimeData mime;
        mime.setText(QStringLiteral("file:///tmp/key.s19"));
        if (file)
            mime.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/key.s19"))});
        const QMimeData* handed = nullptr;
        if (handler)
            grid->setFileDropHandler([&handed](const QMimeData* data) { handed = data; });
        QWidget* target = control<QWidget>(name);
        QCOMPARE(target->acceptDrops(), handler && name.startsWith(QStringLiteral("Text_data")));
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QCOMPARE(enter.isAccepted(), taken);
        QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        QCOMPARE(handed, taken ? &mime : nullptr);
        QVERIFY(document.table[0] == record);
        QCOMPARE(state.Modified, false);
    }

    void asciiRowTakesAnyTextUpToItsSize()
    {
        load({{1, asciiRecord(QString())}, {2, asciiRecord(QStringLiteral("abc"), 3)}});
        startIn(cell(16));
        typeKeys(QStringLiteral("Key 1; ok?"));
        QCOMPARE(data(1), QStringLiteral("Key 1; ok?"));
        QCOMPARE(cell(16)->cursorPosition(), 10);
        startIn(cell(32));
        typeKeys(QStringLiteral("d"));
        QCOMPARE(data(2), QStringLiteral("abc"));
        QCOMPARE(cell(32)->text(), QStringLiteral("abc"));
        QCOMPARE(focusName(), QStringLiteral("Text_data_32"));
    }
};

QTEST_MAIN(CellTypingTest)
#include "cell_typing_test.moc"
