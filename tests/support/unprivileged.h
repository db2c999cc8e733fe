#pragma once
// Faults made with file permissions do not bite for root, and the suite runs
// as root in CI. Such cases run through here: as root, in a forked child
// that has dropped to the user "nobody"; as anyone else, in place.

#include <functional>
#include <string>

namespace testing_support {

// Runs `body` without privileges; its failures fail the calling test.
// `handOver`, if given, is a folder (with all it holds) that is given to
// that user for the run, such as the test's working directory; anything
// else the body needs it makes itself, in the temporary folder.
void asUnprivilegedUser(const std::function<void()> &body, const std::string &handOver = {});

} // namespace testing_support
