// The list behind "Open Recent": order, repeats, its length, forgetting a
// file, and the store it survives in.

#include "files/recent_files.h"
#include "tests/support/file_support.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;

TEST(RecentFiles, KeepsTheLastEightFilesMostRecentFirst)
{
    QStringList nine, lastEightNewestFirst;
    for (int i = 1; i <= 9; ++i)
        nine << u"/k/%1.KEY"_s.arg(i);
    for (int i = 9; i >= 2; --i)
        lastEightNewestFirst << u"/k/%1.KEY"_s.arg(i);
    struct Row {
        const char* name;
        QByteArray store;       // what the store holds before
        QStringList remembered; // then remembered in this order
        QString forgotten;      // then forgotten
        QStringList list;       // most recent first
    };
    const Row rows[] = {
        {.name = "no store yet", .store = {}, .remembered = {u"/k/a.KEY"_s, u"/k/b.639"_s}, .forgotten = {},
         .list = {u"/k/b.639"_s, u"/k/a.KEY"_s}},
        {.name = "a repeat moves to the front", .store = "/k/a.KEY\r\n/k/b.KEY\r\n/k/c.KEY\r\n",
         .remembered = {u"/k/./x/../c.KEY"_s}, .forgotten = {}, .list = {u"/k/./x/../c.KEY"_s, u"/k/a.KEY"_s, u"/k/b.KEY"_s}},
        {.name = "the ninth falls off", .store = {}, .remembered = nine, .forgotten = {},
         .list = lastEightNewestFirst},
        {.name = "a missing file is forgotten", .store = "/k/a.KEY\r\n/k/b.KEY\r\n/k/c.KEY\r\n", .remembered = {},
         .forgotten = u"/k/b.KEY"_s, .list = {u"/k/a.KEY"_s, u"/k/c.KEY"_s}},
        {.name = "a hand-edited store: blanks, repeats, LF, too many", .store = "/k/a.KEY\n\n  \n/k/b.KEY\r/k/a.KEY\n" + nine.join(u'\n').toUtf8(),
         .remembered = {}, .forgotten = {}, .list = QStringList{u"/k/a.KEY"_s, u"/k/b.KEY"_s} + nine.first(6)},
        {.name = "names in any script", .store = {}, .remembered = {u"/k/Schlüssel ключ.KEY"_s}, .forgotten = {},
         .list = {u"/k/Schlüssel ключ.KEY"_s}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        const QString store = dir.filePath(u"config/recent"_s);
        if (!row.store.isNull()) {
            QDir().mkpath(dir.filePath(u"config"_s));
            test::writeFileBytes(store, row.store);
        }
        for (const QString& path : row.remembered)
            ASSERT_EQ(writeRecentFiles(store, withRecentFile(readRecentFiles(store), path)), QString());
        if (!row.forgotten.isEmpty()) {
            ASSERT_EQ(writeRecentFiles(store, withoutRecentFile(readRecentFiles(store), row.forgotten)), QString());
        }
        EXPECT_EQ(readRecentFiles(store), row.list);
        if (!row.remembered.isEmpty() || !row.forgotten.isEmpty()) {
            EXPECT_EQ(test::readFileBytes(store), row.list.join(u"\r\n"_s).toUtf8() + "\r\n");
        }
    }
}

} // namespace
} // namespace quorvane
