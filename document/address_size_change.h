#pragma once

#include "questions.h"

#include "core/document.h"

namespace quorvane {

// Switches the document to `requested`. Going to fewer address digits asks
// first when a record's key data would be saved at another address, naming
// those records. Going to a smaller data limit may cut data, so the user is
// asked first whether or not a record is actually too large; on OK every
// record is cut to the new limit. Returns false when the user declined and
// nothing changed.
[[nodiscard]] bool changeAddressSize(Document& document, AddressSize requested, Questions& questions);

} // namespace quorvane
