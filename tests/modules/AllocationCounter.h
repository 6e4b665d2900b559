// Counts the blocks that operator new of this program hands out and that are
// not deleted yet, so a test can tell whether an object outlived a call. A
// test can also make the next allocation fail.
#pragma once

long LiveAllocations();
void FailNextAllocation();
