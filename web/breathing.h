#pragma once
// The program runs on the page's only thread, so while it calculates or draws
// the page can neither paint nor take a key. Now and then (at most every
// 50 ms) it hands control back to the browser for a moment (ASYNCIFY), at the
// points where that is safe: a flush of the output and the calculation's
// look for Ctrl-C after each iteration.
namespace tambri::web {

void breathe_now_and_then();

}  // namespace tambri::web
