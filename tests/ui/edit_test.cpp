// The Edit menu as the keys reach it: undo and redo of typing, and the row
// commands with the clipboard. What the steps hold and the row rules are
// the document's own tests.

#include "window_fixture.h"

#include <QClipboard>
#include <QGuiApplication>

using namespace quorvane;
using namespace quorvane::test;

class EditTest : public WindowTest {
    Q_OBJECT
    void press(QWidget* field, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        QTest::keyClick(field, key, modifiers);
    }
    [[nodiscard]] QString titles(int count)
    {
        QStringList shown;
        for (Slot s = 0; s < count; ++s)
            shown << table()[s].KeyTitle;
        return shown.join(u',');
    }

private slots:
    // The keystrokes of one cell are one step; undoing it in the cell
    // itself (not the cell's own undo) gives back the saved state.
    void undoInACellRestoresItAndTheCaption()
    {
        start();
        QLineEdit* cell = indexed("Text_data", 0);
        auto* lineNo = indexed<QLabel>("Text_lineNo", 0);
        QTest::mouseClick(cell, Qt::LeftButton);
        for (const char key : {'A', '1', 'B', '2'}) // a full cell hands the focus on
            QTest::keyClick(QApplication::focusWidget(), key);
        QCOMPARE(table()[0].KeyData, QStringLiteral("A1B2"));
        QCOMPARE(window().windowTitle(), QStringLiteral("Quorvane [Modified]"));
        QVERIFY(!lineNo->styleSheet().isEmpty());
        QCOMPARE(lineNo->text(), QStringLiteral("1"));

        press(QApplication::focusWidget(), Qt::Key_Z);
        QCOMPARE(table()[0].KeyData, QString());
        QCOMPARE(cell->text(), QString());
        QCOMPARE(window().windowTitle(), QStringLiteral("Quorvane"));
        QVERIFY(lineNo->styleSheet().isEmpty());

        press(QApplication::focusWidget(), Qt::Key_Y);
        QCOMPARE(table()[0].KeyData, QStringLiteral("A1B2"));
        QCOMPARE(window().windowTitle(), QStringLiteral("Quorvane [Modified]"));

        // Typing into a field again after leaving it is a step of its own.
        type(indexed("Text_title", 0), QStringLiteral("ab"));
        type(indexed("Text_title", 1), QString());
        type(indexed("Text_title", 0), QStringLiteral("c"));
        press(QApplication::focusWidget(), Qt::Key_Z);
        QCOMPARE(table()[0].KeyTitle, QStringLiteral("ab"));
    }

    // Move, copy and paste by their keys, from the row the focus is in;
    // each is one step. A paste the rows cannot take changes nothing.
    void rowCommandsByTheirKeys()
    {
        start();
        type(indexed("Text_title", 0), QStringLiteral("a"));
        type(indexed("Text_title", 1), QStringLiteral("b"));
        press(indexed("Text_title", 1), Qt::Key_PageUp, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(titles(3), QStringLiteral("b,a,"));
        QCOMPARE(QApplication::focusWidget(), indexed("Text_title", 0));

        press(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("b\t\t0\tHEX\t\r\n"));
        press(indexed("Text_title", 1), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(titles(3), QStringLiteral("b,b,a"));

        QGuiApplication::clipboard()->setText(QStringLiteral("x\t1\t2\tHEX\t0G"));
        press(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(modal().messages().size(), std::size_t(1));
        QCOMPARE(modal().messages().front().text,
                 QStringLiteral("Line 1 of the pasted text: data \"0G\" is not hex digits."));
        QCOMPARE(titles(4), QStringLiteral("b,b,a,"));

        press(QApplication::focusWidget(), Qt::Key_Z);
        press(QApplication::focusWidget(), Qt::Key_Z);
        QCOMPARE(titles(3), QStringLiteral("a,b,"));

        // Line numbers 1 to 2 selected move together, and stay selected.
        QTest::mouseClick(indexed<QLabel>("Text_lineNo", 0), Qt::LeftButton);
        QTest::mouseClick(indexed<QLabel>("Text_lineNo", 1), Qt::LeftButton, Qt::ShiftModifier);
        press(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier | Qt::ShiftModifier);
        press(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(titles(3), QStringLiteral(",a,b"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("a\t\t0\tHEX\t\r\nb\t\t0\tHEX\t\r\n"));
    }

    // Undo from a size field below its data takes back the size, not a cut.
    void undoTakesBackTheSizeNotAWriteBack()
    {
        start();
        QTest::mouseClick(indexed("Text_data", 0), Qt::LeftButton);
        for (const char key : {'A', 'B', '1', '2'})
            QTest::keyClick(QApplication::focusWidget(), key);
        type(indexed("Text_size", 0), QStringLiteral("1"));
        press(QApplication::focusWidget(), Qt::Key_Z);
        QCOMPARE(table()[0].KeySize, qint16(0));
    }
};

QTEST_MAIN(EditTest)
#include "edit_test.moc"
