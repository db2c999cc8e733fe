#pragma once
// Faults made with file permissions do not bite for root, and the suite runs
// as root in CI. Such cases run through here: as root, in a forked child
// that has dropped to the user "nobody"; as anyone else, in place; on
// Windows, where such permissions do not exist, not at all (skipped).

#include <functional>

namespace testing_support {

// Runs `body` without privileges; its failures fail the calling test.
// Anything the body needs it makes itself, in the temporary folder.
void asUnprivilegedUser(const std::function<void()> &body);

} // namespace testing_support
