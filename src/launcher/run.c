/* veskmrte-run [OPTIONS] [--] COMMAND [ARGS...]
 *
 * Runs COMMAND (normally a .NET program) under the profiler: sets the
 * runtime's profiler variables and the start-up hook, runs it as a child,
 * passes termination signals on to it, and after it ends hands the reports it
 * left to veskmrte-deadlocks when there is something to show or, with
 * --report, frames to name. Without --report the reports go to a directory of
 * its own (VESKTOOL_REPORT is set for COMMAND, and VESKTOOL_OBJECTS=0 unless
 * set), removed afterwards. Written in C, and not as a script, so that a
 * program pays next to nothing for it at start: the Python summariser only
 * runs when a report holds a finding or frames are to be named. Exits as
 * COMMAND did, by the same signal if one ended it. */
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

static const char usage_text[] =
    "Runs a command (normally a .NET program) under the profiler.\n"
    "\n"
    "  veskmrte-run [OPTIONS] [--] COMMAND [ARGS...]\n"
    "\n"
    "Options:\n"
    "  --debug-log FILE   write the profiler's debug log to FILE (sets VESKMRTE_DEBUG)\n"
    "  --report FILE      have the tool library write its JSON report to FILE\n"
    "                     (sets VESKTOOL_REPORT; %p stands for the process id).\n"
    "                     Every stack frame in it is then named by\n"
    "                     veskmrte-symbolize\n"
    "  --offline-stack-walker\n"
    "                     activate the offline stack walker\n"
    "                     (sets MRTE_ACTIVATE_OFFLINE_STACKWALKER)\n"
    "  --jit-framework    JIT-compile the framework's precompiled code too, so that\n"
    "                     its own synchronisation calls are redirected (also when\n"
    "                     VESKMRTE_JIT_FRAMEWORK=1; costs start-up time)\n"
    "  -h, --help         show this text\n"
    "\n"
    "The command runs unchanged with the profiler variables set; its exit code is\n"
    "the launcher's. Everything else in the environment passes through. When it\n"
    "has exited, the potential deadlocks the tool found (locks taken in opposite\n"
    "orders) are summarised on standard error, from the report or, without\n"
    "--report, from a temporary one.\n";

static const char profiler_name[] = "orvane_veskmrte_clrprof_1.0.so";

/* The runtime's profiler variables and the start-up hook, for the tool
 * directory dir. Answers 0, or 2 (said on standard error) when the profiler
 * is not there. */
static int set_profiler_variables(const char* dir) {
    char profiler[PATH_MAX], hook[PATH_MAX];
    snprintf(profiler, sizeof profiler, "%s/%s", dir, profiler_name);
    snprintf(hook, sizeof hook, "%s/veskmrte_startup.dll", dir);
    struct stat st;
    if (stat(profiler, &st) != 0 || !S_ISREG(st.st_mode)) {
        fprintf(stderr, "veskmrte-run: the profiler is missing from %s\n", dir);
        return 2;
    }
    setenv("CORECLR_ENABLE_PROFILING", "1", 1);
    setenv("CORECLR_PROFILER", "{5B1E0C47-93A2-4D6E-8F15-2C7A9D0E4B36}", 1);
    /* The architecture-specific variable wins over the plain one in the
     * runtime, so both name our profiler. */
    setenv("CORECLR_PROFILER_PATH", profiler, 1);
    setenv("CORECLR_PROFILER_PATH_64", profiler, 1);
    setenv("DOTNET_ProfAPI_ProfilerCompatibilitySetting", "EnableV2Profiler", 1);
    /* The redirected calls name the wrapper assembly, which only this hook
     * resolves: no application lists the tool directory. Hooks the caller
     * named stay, after ours. */
    const char* hooks = getenv("DOTNET_STARTUP_HOOKS");
    if (hooks == NULL || *hooks == '\0') {
        setenv("DOTNET_STARTUP_HOOKS", hook, 1);
    } else {
        size_t size = strlen(hooks) + strlen(hook) + 3;
        char* listed = malloc(size);
        char* both = malloc(size);
        if (listed == NULL || both == NULL) {
            free(listed);
            free(both);
            return 2;
        }
        snprintf(listed, size, ":%s:", hooks);
        snprintf(both, size, ":%s:", hook);
        if (strstr(listed, both) == NULL) {
            snprintf(both, size, "%s:%s", hook, hooks);
            setenv("DOTNET_STARTUP_HOOKS", both, 1);
        }
        free(listed);
        free(both);
    }
    /* Precompiled framework code is never JIT-compiled, so it is never
     * rewritten. */
    const char* jit_framework = getenv("VESKMRTE_JIT_FRAMEWORK");
    if (jit_framework != NULL && strcmp(jit_framework, "1") == 0) setenv("DOTNET_ReadyToRun", "0", 1);
    return 0;
}

/* Reads the launcher's options into the environment; answers the index of
 * the command, or -1 with *code set to the launcher's exit code. */
static int read_options(int argc, char** argv, int* code) {
    int i = 1;
    for (; i < argc; ++i) {
        const char* option = argv[i];
        if (strcmp(option, "--debug-log") == 0 || strcmp(option, "--report") == 0) {
            if (i + 1 >= argc) {
                fprintf(stderr, "veskmrte-run: %s needs a file\n", option);
                *code = 2;
                return -1;
            }
            setenv(option[2] == 'd' ? "VESKMRTE_DEBUG" : "VESKTOOL_REPORT", argv[++i], 1);
        } else if (strcmp(option, "--offline-stack-walker") == 0) {
            setenv("MRTE_ACTIVATE_OFFLINE_STACKWALKER", "1", 1);
        } else if (strcmp(option, "--jit-framework") == 0) {
            setenv("VESKMRTE_JIT_FRAMEWORK", "1", 1);
        } else if (strcmp(option, "-h") == 0 || strcmp(option, "--help") == 0) {
            fputs(usage_text, stdout);
            *code = 0;
            return -1;
        } else if (strcmp(option, "--") == 0) {
            ++i;
            break;
        } else if (option[0] == '-') {
            fprintf(stderr, "veskmrte-run: unknown option %s (see --help)\n", option);
            *code = 2;
            return -1;
        } else {
            break;
        }
    }
    if (i >= argc) {
        fputs(usage_text, stderr);
        *code = 2;
        return -1;
    }
    return i;
}

/* In a child whose exec failed: says why, and ends as a shell would. The
 * child may share the launcher's memory, so it writes from its own stack. */
static _Noreturn void exec_failed(const char* program) {
    char message[PATH_MAX + 256];
    int length = snprintf(message, sizeof message, "veskmrte-run: cannot run %s: %s\n", program, strerror(errno));
    if (length > (int)sizeof message - 1) length = (int)sizeof message - 1;
    if (length > 0 && write(2, message, (size_t)length) < 0) {
        /* Standard error is gone; the exit code still tells. */
    }
    _exit(127);
}

/* The child of vfork shares the launcher's memory until it execs, so it
 * only makes system calls; vfork spares copying the launcher, which is part
 * of every program's start. Signals wait until the child has its own
 * handlers. */
static __attribute__((noinline)) pid_t spawn(char** command) {
    const pid_t self_pid = getpid();
    sigset_t all, before;
    sigfillset(&all);
    sigprocmask(SIG_SETMASK, &all, &before);
    const pid_t pid = vfork();
    if (pid == 0) {
        set_handlers(SIG_DFL);
        sigprocmask(SIG_SETMASK, &before, NULL);
        /* A launcher killed outright takes the program with it, as when the
         * program itself was the launcher's process. */
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != self_pid) _exit(127);
        execvp(command[0], command);
        exec_failed(command[0]);
    }
    child_pid = pid;
    sigprocmask(SIG_SETMASK, &before, NULL);
    return pid;
}

/* Starts COMMAND with the abort notice preloaded, its environment made
 * here for the child; the launcher's is as before afterwards. */
static pid_t start_program(char** command, const char* self_dir) {
    const char* const preloaded = getenv("LD_PRELOAD");
    char* const saved = preloaded == NULL ? NULL : strdup(preloaded);
    /* Without a copy to put back, the program goes without the notice. */
    const int restore = preloaded == NULL || saved != NULL;
    if (restore) preload_abort_notice(self_dir);
    const pid_t pid = spawn(command);
    if (saved != NULL) {
        setenv("LD_PRELOAD", saved, 1);
        free(saved);
    } else if (restore) {
        unsetenv("LD_PRELOAD");
    }
    return pid;
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
    int code = 0;
    const int first = read_options(argc, argv, &code);
    if (first < 0) return code;

    /* The tool directory: where this program lies, links resolved. */
    char self[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    self[length > 0 ? length : 0] = '\0';
    const char* self_dir = dirname(self);
    if ((code = set_profiler_variables(self_dir)) != 0) return code;

    /* With a report asked for (here or by the caller), its frames are named
     * once the program has ended; without one, a temporary report is read
     * for the findings only. */
    const char* asked = getenv("VESKTOOL_REPORT");
    const int remove_reports = asked == NULL || *asked == '\0', name_frames = !remove_reports;
    char pattern[PATH_MAX];
    if (remove_reports) {
        const char* base = getenv("TMPDIR");
        snprintf(pattern, sizeof pattern, "%s/veskmrte-run.XXXXXX", base != NULL && *base != '\0' ? base : "/tmp");
        if (mkdtemp(pattern) == NULL) {
            perror("veskmrte-run: cannot make a directory for the report");
            return 127;
        }
        strncat(pattern, "/report-%p.json", sizeof pattern - strlen(pattern) - 1);
        setenv("VESKTOOL_REPORT", pattern, 1);
        /* Read for its findings only: the per-object counts, which can
         * take the report to tens of megabytes, are not needed. */
        setenv("VESKTOOL_OBJECTS", "0", 0);
    } else {
        snprintf(pattern, sizeof pattern, "%s", asked);
    }

    const time_t started = time(NULL);
    note_ignored();
    set_handlers(forward);
    const pid_t pid = start_program(argv + first, self_dir);
    if (pid < 0) {
        perror("veskmrte-run: cannot start the program");
        return 127;
    }
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
