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
    QStringList nine;
    for (int i = 1; i <= 9; ++i)
        nine << u"/k/%1.KEY"_s.arg(i);
    const QStringList lastEight(nine.crbegin(), nine.crend() - 1); // 9 down to 2
    const QStringList abc{u"/k/a.KEY"_s, u"/k/b.KEY"_s, u"/k/ключ.KEY"_s};
    // The store before (none when null), files remembered in this order, one
    // forgotten then, and the list that results, most recent first.
    const struct { const char* name; QByteArray store; QStringList remembered; QString forgotten; QStringList list; } rows[] = {
        {"a repeat moves to the front", abc.join(u'\n').toUtf8(), {u"/k/./x/../ключ.KEY"_s}, {},
         {u"/k/./x/../ключ.KEY"_s, abc[0], abc[1]}},
        {"the ninth falls off", {}, nine, {}, lastEight},
        {"a missing file is forgotten", abc.join(u'\n').toUtf8(), {}, abc[1], {abc[0], abc[2]}},
        {"a hand-edited store: blanks, repeats, CR, too many", "/k/a.KEY\n\n  \n/k/b.KEY\r/k/a.KEY\n" + nine.join(u'\n').toUtf8(),
         {}, {}, QStringList{abc[0], abc[1]} + nine.first(6)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        const QString store = dir.filePath(u"config/recent"_s);
        if (!row.store.isNull() && QDir().mkpath(dir.filePath(u"config"_s)))
            test::writeFileBytes(store, row.store);
        QStringList list = readRecentFiles(store);
        for (const QString& path : row.remembered)
            list = withRecentFile(list, path);
        EXPECT_EQ(writeRecentFiles(store, withoutRecentFile(list, row.forgotten)), QString());
        EXPECT_EQ(readRecentFiles(store), row.list);
        EXPECT_EQ(test::readFileBytes(store), row.list.join(u"\r\n"_s).toUtf8() + "\r\n");
    }
}

} // namespace
} // namespace quorvane
