// FormatLoad over any bytes, then FormatSave over what it loaded. A table
// that FormatLoad produced and FormatSave wrote reads back to itself, with
// each address as the document's address size writes it; the second save
// then writes the very same bytes.

#include "fuzz_support.h"

#include "files/template_file.h"

using namespace quorvane;
using quorvane::fuzz::describe;
using quorvane::fuzz::expect;

namespace {

QByteArray saved(const Document& document, QString& error)
{
    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    error = FormatSave(out, document);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::InputDevice input(data, size);
    Document loaded;
    const QString error = FormatLoad(input.device(), loaded);
    if (!error.isEmpty()) {
        expect(error.startsWith(QStringLiteral("ERROR:")) && error.size() > 6, "a failure is an error text",
               [&] { return error; });
        return 0;
    }

    QString saveError;
    const QByteArray written = saved(loaded, saveError);
    if (!saveError.isEmpty()) {
        // The reader takes a four-digit size; the writer keeps to three.
        bool sizeBeyond999 = false;
        for (Slot slot = 0; slot < kSlotCount; ++slot)
            sizeBeyond999 = sizeBeyond999 || loaded.table[slot].KeySize > 999;
        expect(sizeBeyond999, "the writer refuses only a size it cannot write", [&] { return saveError; });
        expect(written.isEmpty(), "a refused save writes nothing");
        return 0;
    }

    fuzz::InputDevice reread(written);
    Document again;
    const QString againError = FormatLoad(reread.device(), again);
    expect(againError.isEmpty(), "a written template loads", [&] { return againError; });
    const AddressSize addressSize = loaded.mode.current();
    expect(again.mode.current() == addressSize, "the address size comes back");
    for (Slot slot = 0; slot < kSlotCount; ++slot) {
        const KeyRecord expected = fuzz::narrowed(loaded.table[slot], addressSize);
        expect(again.table[slot] == expected, "a written template loads back to its records",
               [&] { return QStringLiteral("slot %1: ").arg(slot) + describe(again.table[slot]) + QStringLiteral(" / ")
                   + describe(expected); });
    }
    QString secondError;
    expect(saved(again, secondError) == written && secondError.isEmpty(), "saving it again writes the same bytes");
    return 0;
}
