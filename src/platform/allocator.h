#pragma once

namespace nobrisa {

// Keeps freed memory in the process instead of handing it back to the system after every page.
// Qt's PDF writer builds each page's content in a buffer that grows and is freed per page; with
// the C library's default thresholds each of those round trips costs system calls and page
// faults, about a quarter of the time of a long continuous print. Call once at start-up.
void keepFreedMemoryForReuse();

} // namespace nobrisa
