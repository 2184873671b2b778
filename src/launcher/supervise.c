/* veskmrte-supervise REPORT_PATTERN [--name-frames] -- COMMAND [ARGS...]
 * veskmrte-supervise --temporary -- COMMAND [ARGS...]
 *
 * The launcher's parent process: runs COMMAND, passes termination signals on
 * to it, and after it ends hands the reports it left (REPORT_PATTERN, %p for
 * any process id) to veskmrte-deadlocks when there is something to show or,
 * with --name-frames, frames to name. With --temporary the reports go to a
 * directory of its own (VESKTOOL_REPORT is set for COMMAND, and
 * VESKTOOL_OBJECTS=0 unless set), removed afterwards. Written in C so that a program pays nothing for it at start:
 * the Python summariser only runs when a report holds a finding or frames
 * are to be named. Exits as COMMAND did, by the same signal if one ended it. */
#define _GNU_SOURCE
#include <errno.h>
#include <glob.h>
#include <libgen.h>
#include <limits.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static volatile pid_t child_pid;

static const int forwarded[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2};
#define FORWARDED_COUNT (sizeof forwarded / sizeof forwarded[0])

/* A terminal's Ctrl-C and Ctrl-\ reach its whole foreground process group,
 * the program included; anything else sent to the launcher alone is passed
 * on. */
static void forward(int signum) {
    int saved = errno;
    int from_terminal = (signum == SIGINT || signum == SIGQUIT) && isatty(0) && tcgetpgrp(0) == getpgrp();
    if (!from_terminal && child_pid > 0) kill(child_pid, signum);
    errno = saved;
}

/* Signals ignored when the launcher started (a shell's background job,
 * nohup) stay ignored, in the launcher and in the program, as they would be
 * for the program alone. */
static int ignored[FORWARDED_COUNT];

static void note_ignored(void) {
    for (size_t i = 0; i < FORWARDED_COUNT; ++i) {
        struct sigaction current;
        ignored[i] = sigaction(forwarded[i], NULL, &current) == 0 && current.sa_handler == SIG_IGN;
    }
}

static void set_handlers(void (*handler)(int)) {
    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < FORWARDED_COUNT; ++i)
        if (!ignored[i]) sigaction(forwarded[i], &action, NULL);
}

/* Whether the report has a non-empty array under key (as the tool library
 * writes it: "key": [ then its first element). */
static int has_entries(const char* path, const char* name) {
    char key[64];
    snprintf(key, sizeof key, "\"%s\": [", name);
    const size_t key_length = strlen(key);
    FILE* file = fopen(path, "r");
    if (file == NULL) return 0;
    char buffer[65536];
    size_t kept = 0;
    int found = 0;
    while (!found) {
        size_t got = fread(buffer + kept, 1, sizeof buffer - 1 - kept, file);
        if (got == 0) break;
        const size_t total = kept + got;
        buffer[total] = '\0';
        for (const char* at = strstr(buffer, key); at != NULL && !found; at = strstr(at + 1, key)) {
            const char* value = at + key_length;
            while (*value == ' ' || *value == '\n') ++value;
            found = *value == '{';
        }
        /* Keep the tail, in case the key and its first element straddle two
         * reads. */
        kept = total < key_length + 64 ? total : key_length + 64;
        memmove(buffer, buffer + total - kept, kept);
    }
    fclose(file);
    return found;
}

/* The reports this run left: matching the pattern, written since it began. */
static void collect(const char* pattern, time_t started, glob_t* found) {
    char wildcard[PATH_MAX];
    size_t out = 0;
    for (const char* p = pattern; *p != '\0' && out + 2 < sizeof wildcard; ++p) {
        if (p[0] == '%' && p[1] == 'p') {
            wildcard[out++] = '*';
            ++p;
        } else {
            wildcard[out++] = *p;
        }
    }
    wildcard[out] = '\0';
    memset(found, 0, sizeof *found);
    if (glob(wildcard, 0, NULL, found) != 0) return;
    size_t kept = 0;
    for (size_t i = 0; i < found->gl_pathc; ++i) {
        struct stat st;
        if (stat(found->gl_pathv[i], &st) == 0 && st.st_mtime >= started - 1)
            found->gl_pathv[kept++] = found->gl_pathv[i];
        else
            free(found->gl_pathv[i]);
    }
    found->gl_pathc = kept;
}

/* The runtime ends a process with abort() after FailFast and its fatal
 * errors, running no handler; the preloaded notice lets the tool library
 * write its report first. Given to COMMAND only, and after what is already
 * preloaded: a sanitizer's run-time library must stay first. A path the
 * loader would split (a space or colon in it) is left out. */
static void preload_abort_notice(const char* self_dir) {
    char notice[PATH_MAX];
    if (snprintf(notice, sizeof notice, "%s/libveskmrte_abort.so", self_dir) >= (int)sizeof notice) return;
    if (strpbrk(notice, " :") != NULL || access(notice, R_OK) != 0) return;
    const char* current = getenv("LD_PRELOAD");
    if (current == NULL || *current == '\0') {
        setenv("LD_PRELOAD", notice, 1);
        return;
    }
    if (strstr(current, notice) != NULL) return;
    size_t size = strlen(current) + strlen(notice) + 2;
    char* both = malloc(size);
    if (both == NULL) return;
    snprintf(both, size, "%s:%s", current, notice);
    setenv("LD_PRELOAD", both, 1);
    free(both);
}

/* In a forked child whose exec failed: says why, and ends as a shell would. */
static _Noreturn void exec_failed(const char* program) {
    fprintf(stderr, "veskmrte-run: cannot run %s: %s\n", program, strerror(errno));
    _exit(127);
}

static int run_summariser(const char* self_dir, int name_frames, glob_t* reports) {
    char program[PATH_MAX];
    snprintf(program, sizeof program, "%s/veskmrte-deadlocks", self_dir);
    char** argv = calloc(reports->gl_pathc + 3, sizeof *argv);
    if (argv == NULL) return -1;
    size_t n = 0;
    argv[n++] = program;
    if (name_frames) argv[n++] = "--name-frames";
    for (size_t i = 0; i < reports->gl_pathc; ++i) argv[n++] = reports->gl_pathv[i];
    fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) {
        /* Its summary goes with the program's diagnostics. */
        dup2(2, 1);
        execv(program, argv);
        exec_failed(program);
    }
    free(argv);
    int status = 0;
    while (pid > 0 && waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    /* 127: the summariser never ran, so nothing was shown. */
    return pid > 0 && WIFEXITED(status) && WEXITSTATUS(status) != 127 ? 0 : -1;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: veskmrte-supervise REPORT_PATTERN|--temporary [--name-frames] -- COMMAND [ARGS...]\n");
        return 2;
    }
    const char* pattern = argv[1];
    int remove_reports = strcmp(pattern, "--temporary") == 0, name_frames = 0, first = 2;
    char temporary[PATH_MAX];
    if (remove_reports) {
        const char* base = getenv("TMPDIR");
        snprintf(temporary, sizeof temporary, "%s/veskmrte-run.XXXXXX", base != NULL && *base != '\0' ? base : "/tmp");
        if (mkdtemp(temporary) == NULL) {
            perror("veskmrte-run: cannot make a directory for the report");
            return 127;
        }
        strncat(temporary, "/report-%p.json", sizeof temporary - strlen(temporary) - 1);
        pattern = temporary;
        setenv("VESKTOOL_REPORT", pattern, 1);
        /* Read for its findings only: the per-object counts, which can
         * take the report to tens of megabytes, are not needed. */
        setenv("VESKTOOL_OBJECTS", "0", 0);
    }
    for (; first < argc; ++first) {
        if (strcmp(argv[first], "--name-frames") == 0) name_frames = 1;
        else if (strcmp(argv[first], "--") == 0) { ++first; break; }
        else break;
    }
    if (first >= argc) {
        fprintf(stderr, "veskmrte-supervise: no command\n");
        return 2;
    }
    char self[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    self[length > 0 ? length : 0] = '\0';
    const char* self_dir = dirname(self);

    const time_t started = time(NULL);
    note_ignored();
    set_handlers(forward);
    const pid_t self_pid = getpid();
    pid_t pid = fork();
    if (pid < 0) {
        perror("veskmrte-run: cannot start the program");
        return 127;
    }
    if (pid == 0) {
        set_handlers(SIG_DFL);
        /* A launcher killed outright takes the program with it, as when the
         * program itself was the launcher's process. */
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != self_pid) _exit(127);
        preload_abort_notice(self_dir);
        execvp(argv[first], argv + first);
        exec_failed(argv[first]);
    }
    child_pid = pid;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    set_handlers(SIG_DFL);

    glob_t reports;
    collect(pattern, started, &reports);
    int wanted = 0;
    for (size_t i = 0; !wanted && i < reports.gl_pathc; ++i)
        wanted = has_entries(reports.gl_pathv[i], "potential_deadlocks") ||
                 (name_frames && has_entries(reports.gl_pathv[i], "frames"));
    if (wanted && run_summariser(self_dir, name_frames, &reports) != 0)
        fprintf(stderr, "veskmrte-run: cannot show the reports' findings\n");
    if (remove_reports) {
        for (size_t i = 0; i < reports.gl_pathc; ++i) unlink(reports.gl_pathv[i]);
        char directory[PATH_MAX];
        snprintf(directory, sizeof directory, "%s", pattern);
        rmdir(dirname(directory));
    }
    globfree(&reports);

    if (WIFSIGNALED(status)) {
        fflush(NULL);
        signal(WTERMSIG(status), SIG_DFL);
        kill(getpid(), WTERMSIG(status));
        return 128 + WTERMSIG(status);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
