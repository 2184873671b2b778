// Preloaded by veskmrte-run into the programs it runs. The runtime ends a
// process after Environment.FailFast, an unhandled exception or a fatal error
// of its own by setting SIGABRT back to its default and calling abort(), so
// no signal handler and no exit handler runs: only a call of abort() itself
// can be seen. The tool library registers here what it must do first (write
// its report); without a registration abort() is the C library's.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stdatomic.h>
#include <stdlib.h>
#include <unistd.h>

typedef void (*vesk_abort_notice_fn)(void);

static _Atomic(vesk_abort_notice_fn) whenAborting;
static atomic_flag noticed = ATOMIC_FLAG_INIT;
static void (*libcAbort)(void);

// Resolved at load, not while the process aborts, when the loader's own
// state may be what failed.
__attribute__((constructor)) static void findLibcAbort(void) {
    libcAbort = (void (*)(void))dlsym(RTLD_NEXT, "abort");
}

__attribute__((noreturn)) static void abortNow(void) {
    if (libcAbort != NULL) libcAbort();
    // No C library abort to call: die of the same signal all the same.
    signal(SIGABRT, SIG_DFL);
    raise(SIGABRT);
    _exit(128 + SIGABRT);
}

static void onWatchdog(int sig) {
    (void)sig;
    abortNow();
}

// The tool library calls this with its notice once loaded, and with NULL
// before it unloads.
__attribute__((visibility("default"))) void veskmrte_when_aborting(vesk_abort_notice_fn notice) {
    atomic_store(&whenAborting, notice);
}

__attribute__((visibility("default"), noreturn)) void abort(void) {
    vesk_abort_notice_fn notice = atomic_load(&whenAborting);
    // Once only: an abort inside the notice, or a second thread's, ends the
    // process at once.
    if (notice != NULL && !atomic_flag_test_and_set(&noticed)) {
        // A notice that cannot finish (a lock the dying program holds) must
        // not keep the process from ending: a few seconds, then abort.
        struct sigaction watchdog = {0};
        watchdog.sa_handler = onWatchdog;
        sigaction(SIGALRM, &watchdog, NULL);
        sigset_t alarmOnly;
        sigemptyset(&alarmOnly);
        sigaddset(&alarmOnly, SIGALRM);
        pthread_sigmask(SIG_UNBLOCK, &alarmOnly, NULL);
        alarm(5);
        notice();
        alarm(0);
    }
    abortNow();
}
