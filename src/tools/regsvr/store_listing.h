// Printing the registry store's keys and values for people to read.
#pragma once

namespace regsvr {

// Prints the store's place, then each key indented under its parent with its
// values below it. Returns the exit status.
int listStore();

}  // namespace regsvr
