// readSettings over any bytes: the filter index always lands in 1..5, and
// the settings it gives, written as End writes them, read back the same (but
// for a last path the file cannot hold).

#include "fuzz_support.h"

#include "files/settings_file.h"

using namespace quorvane;
using quorvane::fuzz::expect;

namespace {

QString describe(const Settings& s)
{
    return QStringLiteral("filter %1, sort %2, path \"%3\"").arg(s.FilterIndexSetting).arg(s.SortOn).arg(s.LastPath);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::InputDevice input(data, size);
    // Start values outside every range: whatever the file does not give stays.
    const Settings start{.FilterIndexSetting = 9, .LastPath = QStringLiteral("start"), .SortOn = -7};
    const Settings read = readSettings(input.device(), start);
    expect(read.FilterIndexSetting >= kFilterIndexMin && read.FilterIndexSetting <= kFilterIndexMax,
           "the filter index is within 1..5", [&] { return describe(read); });

    fuzz::InputDevice written(settingsFileContents(read));
    const Settings reread = readSettings(written.device(), Settings{});
    Settings expected = read;
    if (expected.LastPath.contains(QLatin1Char('"')))
        expected.LastPath.clear(); // the file cannot hold it
    expect(reread == expected, "written settings read back the same",
           [&] { return describe(reread) + QStringLiteral(" / ") + describe(expected); });
    return 0;
}
