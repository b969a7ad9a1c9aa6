// Debug checks of the framework and the controls.
//
// AFXASSERT(condition) states a precondition the code relies on: a window
// handle that is valid before it is used, a wrapper that is empty before
// it takes a handle, a thread started once, an index in range.  A build
// without NDEBUG (CMAKE_BUILD_TYPE=Debug) checks it: when the condition is
// false, AfxAssertFailed writes the file, line and condition to the
// debugger and to standard error, stops in an attached debugger, and ends
// the process with STATUS_ASSERTION_FAILURE.  It shows no box, so an
// unattended run ends instead of waiting for a click.  A build with NDEBUG
// (the default RelWithDebInfo, and Release) compiles the condition for its
// types only and never evaluates it: a condition must not have side
// effects.
#pragma once

[[noreturn]] void AfxAssertFailed(const char* file, int line, const char* condition);

#ifdef NDEBUG
#define AFXASSERT(condition) ((void)sizeof(!(condition)))
#else
#define AFXASSERT(condition) \
    ((condition) ? (void)0 : AfxAssertFailed(__FILE__, __LINE__, #condition))
#endif
