#pragma once

#include <functional>

// Work over the whole catalogue shared among the computer's cores.
namespace parallel {

// Runs work(row) for every row from 0 to count - 1, each row once, on as
// many threads as the computer has cores (a thread for each perThread rows
// at most), and returns when all are done. work must not touch what another
// row's does.
void forEveryRow(int count, const std::function<void(int)>& work, int perThread = 256);

} // namespace parallel
