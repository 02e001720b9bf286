#pragma once
// GoogleTest starts, at the main thread's first assertion, a second thread that waits for the main thread
// to end. Wine kills a process with a segmentation fault when the process ends while one of its threads is
// still starting, which a test that passes within milliseconds of its first assertion did now and then,
// after the test had passed. A test main calls this before any test runs: it starts that thread and waits
// (at most ten seconds) until the thread runs.
void StartAssertionWatcher();
