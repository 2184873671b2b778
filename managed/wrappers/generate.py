#!/usr/bin/env python3
"""Writes the wrapper classes and the API id table under Generated/.

The table below is the one place that says which APIs are wrapped, through
which reference assemblies compiled programs name them, and which id each API
reports with. Run this after editing it; `--check` (run by the build) fails
when Generated/ is out of date.

Ids are positions in API_TYPES order and the native side keys on them: append
new APIs at the end of a type, or new types at the end, never reorder.
"""

import itertools
import re
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
OUT_DIR = HERE / "Generated"

# Reference assembly -> namespace of its wrapper classes. A program built for
# net10.0 names Monitor through System.Threading, Thread through
# System.Threading.Thread and WaitHandle through System.Runtime;
# .NET Standard 2.0 libraries name everything through netstandard and
# .NET Framework libraries through mscorlib; the framework's own libraries
# name the implementation in System.Private.CoreLib.
SURFACES = {
    "System.Threading": "SystemThreading",
    "System.Threading.Thread": "SystemThreadingThread",
    "System.Runtime": "SystemRuntime",
    "netstandard": "Netstandard",
    "mscorlib": "Mscorlib",
    "System.Private.CoreLib": "SystemPrivateCoreLib",
    "System.Threading.ThreadPool": "SystemThreadingThreadPool",
    "System.Threading.Tasks.Parallel": "SystemThreadingTasksParallel",
    "System.Threading.Tasks.Extensions": "SystemThreadingTasksExtensions",
}


class Api:
    """One original method (all its overloads), reported under one id.

    Overloads read "ReturnType (parameters)" exactly as the original declares
    them. Blocking APIs report again after the original returns. `static`
    marks a static method of a type whose other members are instance ones;
    `subject` names the argument reported as the object the call works on
    (none: the call names no object).

    `lock` says what the call does to the lock it names, so that the tool can
    follow which locks each thread holds: "acquire" (blocks until it holds
    it; an overload with a timeout only tries), "try", "release", or "wait"
    (gives it up and takes it back before returning). Whether an acquisition
    succeeded comes from the result or the lockTaken argument. `lock_only`
    names the one type of object that is a lock for this API (WaitOne on a
    Mutex); the report hook checks it.
    """

    def __init__(self, method, overloads, blocking=False, static=False, subject=None, lock=None, lock_only=""):
        assert lock in (None, "acquire", "try", "release", "wait"), lock
        assert lock not in ("acquire", "try", "wait") or blocking, method
        self.method = method
        self.overloads = overloads
        self.blocking = blocking
        self.static = static
        self.subject = subject
        self.lock = lock
        self.lock_only = lock_only


class ApiType:
    """A wrapped type. `instance` names the first wrapper parameter that
    stands for `this` of instance methods; for static-only types, `subject`
    names the argument reported as the instance (the object synchronised on),
    if there is one. `condition` is the compiler symbol without which the
    runtime the wrappers are built for lacks the type.
    """

    def __init__(self, full_name, surfaces, apis, instance=None, subject=None, condition=None, value_type=False,
                 reported=None, type_params=(), locations=False):
        self.full_name = full_name
        # The type's own generic parameters, which lead the generic
        # parameters of every wrapper of its members.
        self.type_params = list(type_params)
        metadata_name = full_name.rsplit(".", 1)[1]
        assert sum(int(n) for n in re.findall(r"`(\d+)", metadata_name)) == len(self.type_params), full_name
        # C# name of the type ("Lock.Scope" for the nested "Lock+Scope",
        # "ConfiguredTaskAwaitable<TResult>.ConfiguredTaskAwaiter" for
        # "ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter").
        remaining = list(self.type_params)

        def arguments(match):
            taken = [remaining.pop(0) for _ in range(int(match.group(1)))]
            return "<" + ", ".join(taken) + ">"

        self.short_name = re.sub(r"`(\d+)", arguments, metadata_name).replace("+", ".")
        # The same without generic arguments, for names of our own ("Task1").
        self.plain_name = metadata_name.replace("`", "").replace("+", "")
        # Instances of a value type are passed by reference, so that the
        # original works on the caller's value, not on a copy.
        self.value_type = value_type
        # Expression reporting the object an instance stands for, when it is
        # not the instance itself.
        self.reported = reported
        self.surfaces = surfaces
        self.apis = apis
        self.instance = instance
        self.subject = subject
        # The first by-reference parameter is a memory location, reported by
        # its address (Report.Location).
        self.locations = locations
        self.condition = condition


CTOR = ".ctor"

# Where compiled programs name the types of System.Threading and of
# System.Runtime.
THREADING = ["System.Threading", "netstandard", "mscorlib", "System.Private.CoreLib"]
RUNTIME = ["System.Runtime", "netstandard", "mscorlib", "System.Private.CoreLib"]
# Types of System.Threading that the core library does not hold.
THREADING_OWN = ["System.Threading", "netstandard", "mscorlib"]
# Types .NET Framework kept outside mscorlib, whose facade does not name them.
THREADING_NOT_MSCORLIB = ["System.Threading", "netstandard", "System.Private.CoreLib"]

WAIT_OVERLOADS = [
    "void ()",
    "bool (int millisecondsTimeout)",
    "bool (TimeSpan timeout)",
    "void (CancellationToken cancellationToken)",
    "bool (int millisecondsTimeout, CancellationToken cancellationToken)",
    "bool (TimeSpan timeout, CancellationToken cancellationToken)",
]
WAIT_MANY = ("", ", int millisecondsTimeout", ", TimeSpan timeout", ", int millisecondsTimeout, bool exitContext",
             ", TimeSpan timeout, bool exitContext")
EXCHANGE_TYPES = ("int", "long", "uint", "ulong", "float", "double", "nint", "nuint", "object?")
VOLATILE_TYPES = ("bool", "byte", "sbyte", "short", "ushort", "int", "uint", "long", "ulong", "float", "double",
                  "nint", "nuint")

# Where programs name value tasks: .NET Standard 2.0 libraries through the
# package that brought them.
VALUE_TASKS = ["System.Runtime", "netstandard", "mscorlib", "System.Threading.Tasks.Extensions", "System.Private.CoreLib"]


def continuations(task, result):
    """The ContinueWith overloads of a task type: with an action, or with a
    function whose result type is `result`."""
    if result is None:
        generic, kind, ret = "", f"Action<{task}", "Task"
    else:
        generic, kind, ret = f"<{result}> ", f"Func<{task}", f"Task<{result}>"
    end = f", {result}>" if result else ">"
    state_end = f", object?, {result}>" if result else ", object?>"
    name = "continuationFunction" if result else "continuationAction"
    return [f"{generic}{ret} ({kind}{end} {name}{rest})" for rest in (
        "", ", CancellationToken cancellationToken", ", TaskScheduler scheduler",
        ", TaskContinuationOptions continuationOptions",
        ", CancellationToken cancellationToken, TaskContinuationOptions continuationOptions, TaskScheduler scheduler",
    )] + [f"{generic}{ret} ({kind}{state_end} {name}, object? state{rest})" for rest in (
        "", ", CancellationToken cancellationToken, TaskContinuationOptions continuationOptions, TaskScheduler scheduler",
    )]


def completion_source_apis(source, result):
    """The members of a completion source that complete its task."""
    value = f"{result} result" if result else ""
    return [
        Api(CTOR, overloads=[
            f"{source} ()",
            f"{source} (object? state)",
            f"{source} (TaskCreationOptions creationOptions)",
            f"{source} (object? state, TaskCreationOptions creationOptions)",
        ]),
        Api("SetResult", overloads=[f"void ({value})"]),
        Api("TrySetResult", overloads=[f"bool ({value})"]),
        Api("SetException", overloads=["void (Exception exception)", "void (IEnumerable<Exception> exceptions)"]),
        Api("TrySetException", overloads=["bool (Exception exception)", "bool (IEnumerable<Exception> exceptions)"]),
        Api("SetCanceled", overloads=["void ()", "void (CancellationToken cancellationToken)"]),
        Api("TrySetCanceled", overloads=["bool ()", "bool (CancellationToken cancellationToken)"]),
    ]


def awaiter(full_name, surfaces):
    """A task or value task awaiter: the code after an await runs as its
    continuation and observes the task in GetResult. A task awaiter reports
    the task it wraps; what a value task awaiter stands for is not readable
    without changing what it does."""
    generic = "`1" in full_name
    task_awaiter = ".Task" in full_name or ".ConfiguredTask" in full_name
    return ApiType(full_name, surfaces, instance="awaiter", type_params=["TResult"] if generic else [], value_type=True,
                   reported="TaskSubjects.TaskOf(ref awaiter)" if task_awaiter else "null", apis=[
        Api("GetResult", blocking=True, overloads=["TResult ()" if generic else "void ()"]),
        Api("OnCompleted", overloads=["void (Action continuation)"]),
        Api("UnsafeOnCompleted", overloads=["void (Action continuation)"]),
    ])


def builder(full_name, surfaces):
    """An async method's builder: it starts the method, suspends it at each
    await that has not completed, and completes the task its caller awaits.
    A task builder reports that task once it exists (the method has been
    suspended); a value task's and an async void method's have none that
    can be read without changing what they do."""
    generic = "`1" in full_name
    state_machine = "where TStateMachine : IAsyncStateMachine"
    awaits = "<TAwaiter, TStateMachine> void (ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : "
    return ApiType(full_name, surfaces, instance="builder", type_params=["TResult"] if generic else [], value_type=True,
                   reported="TaskSubjects.TaskOf(ref builder)" if ".AsyncTask" in full_name else "null", apis=[
        Api("Start", overloads=[f"<TStateMachine> void (ref TStateMachine stateMachine) {state_machine}"]),
        Api("AwaitOnCompleted", overloads=[f"{awaits}INotifyCompletion {state_machine}"]),
        Api("AwaitUnsafeOnCompleted", overloads=[f"{awaits}ICriticalNotifyCompletion {state_machine}"]),
        Api("SetResult", overloads=["void (TResult result)" if generic else "void ()"]),
        Api("SetException", overloads=["void (Exception exception)"]),
    ])


API_TYPES = [
    ApiType("System.Threading.Monitor", ["System.Threading", "netstandard", "mscorlib", "System.Private.CoreLib"], subject="obj", apis=[
        Api("Enter", blocking=True, lock="acquire", overloads=[
            "void (object obj)",
            "void (object obj, ref bool lockTaken)",
        ]),
        Api("TryEnter", blocking=True, lock="try", overloads=[
            "bool (object obj)",
            "bool (object obj, int millisecondsTimeout)",
            "bool (object obj, TimeSpan timeout)",
            "void (object obj, ref bool lockTaken)",
            "void (object obj, int millisecondsTimeout, ref bool lockTaken)",
            "void (object obj, TimeSpan timeout, ref bool lockTaken)",
        ]),
        Api("Exit", lock="release", overloads=[
            "void (object obj)",
        ]),
        Api("Wait", blocking=True, lock="wait", overloads=[
            "bool (object obj)",
            "bool (object obj, int millisecondsTimeout)",
            "bool (object obj, TimeSpan timeout)",
            "bool (object obj, int millisecondsTimeout, bool exitContext)",
            "bool (object obj, TimeSpan timeout, bool exitContext)",
        ]),
        Api("Pulse", overloads=[
            "void (object obj)",
        ]),
        Api("PulseAll", overloads=[
            "void (object obj)",
        ]),
    ]),
    ApiType("System.Threading.Thread", ["System.Threading.Thread", "netstandard", "mscorlib", "System.Private.CoreLib"], instance="thread", apis=[
        Api(CTOR, overloads=[
            "Thread (ThreadStart start)",
            "Thread (ThreadStart start, int maxStackSize)",
            "Thread (ParameterizedThreadStart start)",
            "Thread (ParameterizedThreadStart start, int maxStackSize)",
        ]),
        Api("Start", overloads=[
            "void ()",
            "void (object? parameter)",
        ]),
        Api("Join", blocking=True, overloads=[
            "void ()",
            "bool (int millisecondsTimeout)",
            "bool (TimeSpan timeout)",
        ]),
        Api("Sleep", static=True, blocking=True, overloads=[
            "void (int millisecondsTimeout)",
            "void (TimeSpan timeout)",
        ]),
        Api("Interrupt", overloads=[
            "void ()",
        ]),
        Api("UnsafeStart", overloads=[
            "void ()",
            "void (object? parameter)",
        ]),
        Api("Yield", static=True, overloads=[
            "bool ()",
        ]),
    ]),
    ApiType("System.Threading.WaitHandle", ["System.Runtime", "netstandard", "mscorlib", "System.Private.CoreLib"], instance="handle", apis=[
        Api("WaitOne", blocking=True, lock="acquire", lock_only="Mutex", overloads=[
            "bool ()",
            "bool (int millisecondsTimeout)",
            "bool (TimeSpan timeout)",
            "bool (int millisecondsTimeout, bool exitContext)",
            "bool (TimeSpan timeout, bool exitContext)",
        ]),
        Api("WaitAny", static=True, blocking=True, overloads=[
            f"int (WaitHandle[] waitHandles{rest})" for rest in WAIT_MANY]),
        Api("WaitAll", static=True, blocking=True, overloads=[
            f"bool (WaitHandle[] waitHandles{rest})" for rest in WAIT_MANY]),
    ]),
    ApiType("System.Threading.EventWaitHandle", ["System.Threading", "netstandard", "mscorlib", "System.Private.CoreLib"], instance="handle", apis=[
        Api("Set", overloads=[
            "bool ()",
        ]),
        Api("Reset", overloads=[
            "bool ()",
        ]),
    ]),
    ApiType("System.Threading.Mutex", ["System.Threading", "netstandard", "mscorlib", "System.Private.CoreLib"], instance="mutex", apis=[
        Api(CTOR, overloads=[
            "Mutex ()",
            "Mutex (bool initiallyOwned)",
            "Mutex (bool initiallyOwned, string? name)",
            "Mutex (bool initiallyOwned, string? name, out bool createdNew)",
        ]),
        Api("ReleaseMutex", lock="release", overloads=[
            "void ()",
        ]),
    ]),
    ApiType("System.Threading.SemaphoreSlim", ["System.Threading", "netstandard", "mscorlib", "System.Private.CoreLib"], instance="semaphore", apis=[
        Api(CTOR, overloads=[
            "SemaphoreSlim (int initialCount)",
            "SemaphoreSlim (int initialCount, int maxCount)",
        ]),
        Api("Wait", blocking=True, lock="acquire", overloads=[
            "void ()",
            "bool (int millisecondsTimeout)",
            "bool (TimeSpan timeout)",
            "void (CancellationToken cancellationToken)",
            "bool (int millisecondsTimeout, CancellationToken cancellationToken)",
            "bool (TimeSpan timeout, CancellationToken cancellationToken)",
        ]),
        Api("Release", lock="release", overloads=[
            "int ()",
            "int (int releaseCount)",
        ]),
        Api("WaitAsync", overloads=[
            "Task ()",
            "Task<bool> (int millisecondsTimeout)",
            "Task<bool> (TimeSpan timeout)",
            "Task (CancellationToken cancellationToken)",
            "Task<bool> (int millisecondsTimeout, CancellationToken cancellationToken)",
            "Task<bool> (TimeSpan timeout, CancellationToken cancellationToken)",
        ]),
    ]),
    ApiType("System.Threading.Lock", ["System.Runtime", "System.Private.CoreLib"], instance="lockObj",
            condition="NET9_0_OR_GREATER", apis=[
        Api(CTOR, overloads=[
            "Lock ()",
        ]),
        Api("Enter", blocking=True, lock="acquire", overloads=[
            "void ()",
        ]),
        Api("TryEnter", blocking=True, lock="try", overloads=[
            "bool ()",
            "bool (int millisecondsTimeout)",
            "bool (TimeSpan timeout)",
        ]),
        Api("Exit", lock="release", overloads=[
            "void ()",
        ]),
        Api("EnterScope", blocking=True, lock="acquire", overloads=[
            "Lock.Scope ()",
        ]),
    ]),
    ApiType("System.Threading.Lock+Scope", ["System.Runtime", "System.Private.CoreLib"], instance="scope",
            condition="NET9_0_OR_GREATER", value_type=True, reported="LockScopes.LockOf(ref scope)", apis=[
        Api("Dispose", lock="release", overloads=[
            "void ()",
        ]),
    ]),
    ApiType("System.Threading.ReaderWriterLockSlim", THREADING_NOT_MSCORLIB, instance="rwLock", apis=[
        Api(CTOR, overloads=[
            "ReaderWriterLockSlim ()",
            "ReaderWriterLockSlim (LockRecursionPolicy recursionPolicy)",
        ]),
        Api("EnterReadLock", blocking=True, overloads=["void ()"]),
        Api("TryEnterReadLock", blocking=True, overloads=["bool (int millisecondsTimeout)", "bool (TimeSpan timeout)"]),
        Api("ExitReadLock", overloads=["void ()"]),
        Api("EnterWriteLock", blocking=True, overloads=["void ()"]),
        Api("TryEnterWriteLock", blocking=True, overloads=["bool (int millisecondsTimeout)", "bool (TimeSpan timeout)"]),
        Api("ExitWriteLock", overloads=["void ()"]),
        Api("EnterUpgradeableReadLock", blocking=True, overloads=["void ()"]),
        Api("TryEnterUpgradeableReadLock", blocking=True,
            overloads=["bool (int millisecondsTimeout)", "bool (TimeSpan timeout)"]),
        Api("ExitUpgradeableReadLock", overloads=["void ()"]),
    ]),
    ApiType("System.Threading.ReaderWriterLock", THREADING_OWN, instance="rwLock", apis=[
        Api(CTOR, overloads=["ReaderWriterLock ()"]),
        Api("AcquireReaderLock", blocking=True, overloads=["void (int millisecondsTimeout)", "void (TimeSpan timeout)"]),
        Api("ReleaseReaderLock", overloads=["void ()"]),
        Api("AcquireWriterLock", blocking=True, overloads=["void (int millisecondsTimeout)", "void (TimeSpan timeout)"]),
        Api("ReleaseWriterLock", overloads=["void ()"]),
        Api("UpgradeToWriterLock", blocking=True,
            overloads=["LockCookie (int millisecondsTimeout)", "LockCookie (TimeSpan timeout)"]),
        Api("DowngradeFromWriterLock", overloads=["void (ref LockCookie lockCookie)"]),
        Api("ReleaseLock", overloads=["LockCookie ()"]),
        Api("RestoreLock", blocking=True, overloads=["void (ref LockCookie lockCookie)"]),
    ]),
    ApiType("System.Threading.ManualResetEventSlim", THREADING, instance="slimEvent", apis=[
        Api(CTOR, overloads=[
            "ManualResetEventSlim ()",
            "ManualResetEventSlim (bool initialState)",
            "ManualResetEventSlim (bool initialState, int spinCount)",
        ]),
        Api("Set", overloads=["void ()"]),
        Api("Reset", overloads=["void ()"]),
        Api("Wait", blocking=True, overloads=WAIT_OVERLOADS),
    ]),
    ApiType("System.Threading.Semaphore", THREADING_NOT_MSCORLIB, instance="semaphore", apis=[
        Api(CTOR, overloads=[
            "Semaphore (int initialCount, int maximumCount)",
            "Semaphore (int initialCount, int maximumCount, string? name)",
            "Semaphore (int initialCount, int maximumCount, string? name, out bool createdNew)",
        ]),
        Api("Release", overloads=["int ()", "int (int releaseCount)"]),
    ]),
    ApiType("System.Threading.AutoResetEvent", THREADING, instance="handle", apis=[
        Api(CTOR, overloads=["AutoResetEvent (bool initialState)"]),
    ]),
    ApiType("System.Threading.ManualResetEvent", THREADING, instance="handle", apis=[
        Api(CTOR, overloads=["ManualResetEvent (bool initialState)"]),
    ]),
    ApiType("System.Threading.CountdownEvent", THREADING_OWN, instance="countdown", apis=[
        Api(CTOR, overloads=["CountdownEvent (int initialCount)"]),
        Api("Signal", overloads=["bool ()", "bool (int signalCount)"]),
        Api("AddCount", overloads=["void ()", "void (int signalCount)"]),
        Api("TryAddCount", overloads=["bool ()", "bool (int signalCount)"]),
        Api("Reset", overloads=["void ()", "void (int count)"]),
        Api("Wait", blocking=True, overloads=WAIT_OVERLOADS),
    ]),
    ApiType("System.Threading.Barrier", ["System.Threading", "netstandard"], instance="barrier", apis=[
        Api(CTOR, overloads=[
            "Barrier (int participantCount)",
            "Barrier (int participantCount, Action<Barrier>? postPhaseAction)",
        ]),
        Api("SignalAndWait", blocking=True, overloads=WAIT_OVERLOADS),
        Api("AddParticipant", overloads=["long ()"]),
        Api("AddParticipants", overloads=["long (int participantCount)"]),
        Api("RemoveParticipant", overloads=["void ()"]),
        Api("RemoveParticipants", overloads=["void (int participantCount)"]),
    ]),
    ApiType("System.Threading.Interlocked", THREADING, locations=True, apis=[
        Api("Increment", overloads=[f"{t} (ref {t} location)" for t in ("int", "long", "uint", "ulong")]),
        Api("Decrement", overloads=[f"{t} (ref {t} location)" for t in ("int", "long", "uint", "ulong")]),
        Api("Add", overloads=[f"{t} (ref {t} location1, {t} value)" for t in ("int", "long", "uint", "ulong")]),
        # The generic overloads only from .NET 9, which lifted their class
        # constraint: a wrapper keeping it would fail calls of value types.
        Api("Exchange", overloads=[f"{t} (ref {t} location1, {t} value)" for t in EXCHANGE_TYPES] + [
            "[NET9_0_OR_GREATER] <T> T (ref T location1, T value)",
        ]),
        Api("CompareExchange",
            overloads=[f"{t} (ref {t} location1, {t} value, {t} comparand)" for t in EXCHANGE_TYPES] + [
                "[NET9_0_OR_GREATER] <T> T (ref T location1, T value, T comparand)",
            ]),
        Api("Read", overloads=["long (ref long location)", "ulong (ref ulong location)"]),
        Api("And", overloads=[f"{t} (ref {t} location1, {t} value)" for t in ("int", "long", "uint", "ulong")]),
        Api("Or", overloads=[f"{t} (ref {t} location1, {t} value)" for t in ("int", "long", "uint", "ulong")]),
        Api("MemoryBarrier", overloads=["void ()"]),
    ]),
    ApiType("System.Threading.Volatile", THREADING, locations=True, apis=[
        Api("Read", overloads=[f"{t} (ref readonly {t} location)" for t in VOLATILE_TYPES] + [
            "<T> T (ref readonly T location) where T : class?",
        ]),
        Api("Write", overloads=[f"void (ref {t} location, {t} value)" for t in VOLATILE_TYPES] + [
            "<T> void (ref T location, T value) where T : class?",
        ]),
        Api("ReadBarrier", overloads=["[newer] void ()"]),
        Api("WriteBarrier", overloads=["[newer] void ()"]),
    ]),
    ApiType("System.Threading.ThreadPool", ["System.Threading.ThreadPool", "netstandard", "mscorlib",
                                            "System.Private.CoreLib"], apis=[
        Api("QueueUserWorkItem", overloads=[
            "bool (WaitCallback callBack)",
            "bool (WaitCallback callBack, object? state)",
            "<TState> bool (Action<TState> callBack, TState state, bool preferLocal)",
        ]),
        Api("UnsafeQueueUserWorkItem", overloads=[
            "bool (WaitCallback callBack, object? state)",
            "bool (IThreadPoolWorkItem callBack, bool preferLocal)",
            "<TState> bool (Action<TState> callBack, TState state, bool preferLocal)",
        ]),
        Api("RegisterWaitForSingleObject", subject="waitObject", overloads=[
            f"RegisteredWaitHandle (WaitHandle waitObject, WaitOrTimerCallback callBack, object? state, {t} "
            f"millisecondsTimeOutInterval, bool executeOnlyOnce)" for t in ("int", "long", "uint")] + [
            "RegisteredWaitHandle (WaitHandle waitObject, WaitOrTimerCallback callBack, object? state, TimeSpan "
            "timeout, bool executeOnlyOnce)",
        ]),
    ]),
    ApiType("System.Threading.Timer", RUNTIME, instance="timer", apis=[
        Api(CTOR, overloads=[
            "Timer (TimerCallback callback)",
            "Timer (TimerCallback callback, object? state, int dueTime, int period)",
            "Timer (TimerCallback callback, object? state, long dueTime, long period)",
            "Timer (TimerCallback callback, object? state, uint dueTime, uint period)",
            "Timer (TimerCallback callback, object? state, TimeSpan dueTime, TimeSpan period)",
        ]),
        Api("Change", overloads=[
            "bool (int dueTime, int period)",
            "bool (long dueTime, long period)",
            "bool (uint dueTime, uint period)",
            "bool (TimeSpan dueTime, TimeSpan period)",
        ]),
    ]),
    ApiType("System.Threading.CancellationTokenSource", RUNTIME, instance="source", apis=[
        Api("Cancel", overloads=["void ()", "void (bool throwOnFirstException)"]),
        Api("CancelAfter", overloads=["void (int millisecondsDelay)", "void (TimeSpan delay)"]),
        # A source made with a delay cancels itself from a timer.
        Api(CTOR, overloads=[
            "CancellationTokenSource ()",
            "CancellationTokenSource (int millisecondsDelay)",
            "CancellationTokenSource (TimeSpan delay)",
            "CancellationTokenSource (TimeSpan delay, TimeProvider timeProvider)",
        ]),
        # A linked source is cancelled by whichever thread cancels a token it
        # is linked to.
        Api("CreateLinkedTokenSource", static=True, overloads=[
            "CancellationTokenSource (CancellationToken token)",
            "CancellationTokenSource (CancellationToken token1, CancellationToken token2)",
            "CancellationTokenSource (params CancellationToken[] tokens)",
        ]),
    ]),
    ApiType("System.Threading.Tasks.Task", RUNTIME, instance="task", apis=[
        Api("Run", static=True, overloads=[
            "Task (Action action)",
            "Task (Action action, CancellationToken cancellationToken)",
            "Task (Func<Task?> function)",
            "Task (Func<Task?> function, CancellationToken cancellationToken)",
            "<TResult> Task<TResult> (Func<TResult> function)",
            "<TResult> Task<TResult> (Func<TResult> function, CancellationToken cancellationToken)",
            "<TResult> Task<TResult> (Func<Task<TResult>?> function)",
            "<TResult> Task<TResult> (Func<Task<TResult>?> function, CancellationToken cancellationToken)",
        ]),
        Api("Start", overloads=["void ()", "void (TaskScheduler scheduler)"]),
        Api("Wait", blocking=True, overloads=[
            "void ()",
            "bool (int millisecondsTimeout)",
            "bool (TimeSpan timeout)",
            "void (CancellationToken cancellationToken)",
            "bool (int millisecondsTimeout, CancellationToken cancellationToken)",
        ]),
        Api("WaitAll", static=True, blocking=True, overloads=[
            "void (Task[] tasks)",
            "bool (Task[] tasks, int millisecondsTimeout)",
            "bool (Task[] tasks, TimeSpan timeout)",
            "void (Task[] tasks, CancellationToken cancellationToken)",
            "bool (Task[] tasks, int millisecondsTimeout, CancellationToken cancellationToken)",
            "[newer] void (ReadOnlySpan<Task> tasks)",
        ]),
        Api("WaitAny", static=True, blocking=True, overloads=[
            "int (Task[] tasks)",
            "int (Task[] tasks, int millisecondsTimeout)",
            "int (Task[] tasks, TimeSpan timeout)",
            "int (Task[] tasks, CancellationToken cancellationToken)",
            "int (Task[] tasks, int millisecondsTimeout, CancellationToken cancellationToken)",
        ]),
        Api("ContinueWith", overloads=[
            "Task (Action<Task> continuationAction)",
            "Task (Action<Task> continuationAction, CancellationToken cancellationToken)",
            "Task (Action<Task> continuationAction, TaskScheduler scheduler)",
            "Task (Action<Task> continuationAction, TaskContinuationOptions continuationOptions)",
            "Task (Action<Task> continuationAction, CancellationToken cancellationToken, TaskContinuationOptions "
            "continuationOptions, TaskScheduler scheduler)",
            "Task (Action<Task, object?> continuationAction, object? state)",
            "Task (Action<Task, object?> continuationAction, object? state, CancellationToken cancellationToken, "
            "TaskContinuationOptions continuationOptions, TaskScheduler scheduler)",
        ] + continuations("Task", "TNewResult")),
        Api("WhenAll", static=True, overloads=[
            "Task (params Task[] tasks)",
            "Task (IEnumerable<Task> tasks)",
            "[newer] Task (params ReadOnlySpan<Task> tasks)",
            "<TResult> Task<TResult[]> (params Task<TResult>[] tasks)",
            "<TResult> Task<TResult[]> (IEnumerable<Task<TResult>> tasks)",
        ]),
        Api("WhenAny", static=True, overloads=[
            "Task<Task> (params Task[] tasks)",
            "Task<Task> (IEnumerable<Task> tasks)",
            "Task<Task> (Task task1, Task task2)",
            "[newer] Task<Task> (params ReadOnlySpan<Task> tasks)",
            "<TResult> Task<Task<TResult>> (params Task<TResult>[] tasks)",
            "<TResult> Task<Task<TResult>> (IEnumerable<Task<TResult>> tasks)",
            "<TResult> Task<Task<TResult>> (Task<TResult> task1, Task<TResult> task2)",
        ]),
    ]),
    ApiType("System.Threading.Tasks.TaskFactory", RUNTIME, instance="factory", apis=[
        Api("StartNew", overloads=[
            "Task (Action action)",
            "Task (Action action, CancellationToken cancellationToken)",
            "Task (Action action, TaskCreationOptions creationOptions)",
            "Task (Action action, CancellationToken cancellationToken, TaskCreationOptions creationOptions, "
            "TaskScheduler scheduler)",
            "Task (Action<object?> action, object? state)",
            "Task (Action<object?> action, object? state, CancellationToken cancellationToken)",
            "Task (Action<object?> action, object? state, TaskCreationOptions creationOptions)",
            "Task (Action<object?> action, object? state, CancellationToken cancellationToken, TaskCreationOptions "
            "creationOptions, TaskScheduler scheduler)",
            "<TResult> Task<TResult> (Func<TResult> function)",
            "<TResult> Task<TResult> (Func<TResult> function, CancellationToken cancellationToken)",
            "<TResult> Task<TResult> (Func<TResult> function, TaskCreationOptions creationOptions)",
            "<TResult> Task<TResult> (Func<TResult> function, CancellationToken cancellationToken, TaskCreationOptions "
            "creationOptions, TaskScheduler scheduler)",
            "<TResult> Task<TResult> (Func<object?, TResult> function, object? state)",
            "<TResult> Task<TResult> (Func<object?, TResult> function, object? state, CancellationToken cancellationToken)",
            "<TResult> Task<TResult> (Func<object?, TResult> function, object? state, TaskCreationOptions creationOptions)",
            "<TResult> Task<TResult> (Func<object?, TResult> function, object? state, CancellationToken cancellationToken, "
            "TaskCreationOptions creationOptions, TaskScheduler scheduler)",
        ]),
    ]),
    ApiType("System.Threading.Tasks.Parallel", ["System.Threading.Tasks.Parallel", "netstandard", "mscorlib"], apis=[
        Api("For", blocking=True, overloads=[
            "ParallelLoopResult (int fromInclusive, int toExclusive, Action<int> body)",
            "ParallelLoopResult (long fromInclusive, long toExclusive, Action<long> body)",
            "ParallelLoopResult (int fromInclusive, int toExclusive, ParallelOptions parallelOptions, Action<int> body)",
            "ParallelLoopResult (int fromInclusive, int toExclusive, Action<int, ParallelLoopState> body)",
        ]),
        Api("Invoke", blocking=True, overloads=[
            "void (params Action[] actions)",
            "void (ParallelOptions parallelOptions, params Action[] actions)",
        ]),
        Api("ForEach", blocking=True, overloads=[
            "<TSource> ParallelLoopResult (IEnumerable<TSource> source, Action<TSource> body)",
            "<TSource> ParallelLoopResult (IEnumerable<TSource> source, ParallelOptions parallelOptions, Action<TSource> body)",
            "<TSource> ParallelLoopResult (IEnumerable<TSource> source, Action<TSource, ParallelLoopState> body)",
            "<TSource> ParallelLoopResult (IEnumerable<TSource> source, ParallelOptions parallelOptions, "
            "Action<TSource, ParallelLoopState> body)",
        ]),
    ]),
    ApiType("System.Threading.Tasks.Task`1", RUNTIME, instance="task", type_params=["TResult"], apis=[
        Api("get_Result", blocking=True, overloads=["TResult ()"]),
        Api("ContinueWith", overloads=continuations("Task<TResult>", None) + continuations("Task<TResult>", "TNewResult")),
    ]),
    ApiType("System.Threading.Tasks.TaskCompletionSource`1", RUNTIME, instance="source", type_params=["TResult"],
            reported="TaskSubjects.TaskOf(source)", apis=completion_source_apis("TaskCompletionSource<TResult>", "TResult")),
    ApiType("System.Threading.Tasks.TaskCompletionSource", ["System.Runtime", "System.Private.CoreLib"], instance="source",
            reported="TaskSubjects.TaskOf(source)", apis=completion_source_apis("TaskCompletionSource", None)),
    # What a value task stands for (a task, a pooled source or a result) is
    # not readable without changing what it does, so its members name no
    # object.
    ApiType("System.Threading.Tasks.ValueTask`1", VALUE_TASKS, instance="valueTask", type_params=["TResult"],
            value_type=True, reported="null", apis=[
        Api("get_Result", blocking=True, overloads=["TResult ()"]),
        Api("AsTask", overloads=["Task<TResult> ()"]),
    ]),
    ApiType("System.Threading.Tasks.ValueTask", VALUE_TASKS, instance="valueTask", value_type=True, reported="null", apis=[
        Api("AsTask", overloads=["Task ()"]),
    ]),
    awaiter("System.Runtime.CompilerServices.TaskAwaiter", RUNTIME),
    awaiter("System.Runtime.CompilerServices.TaskAwaiter`1", RUNTIME),
    awaiter("System.Runtime.CompilerServices.ConfiguredTaskAwaitable+ConfiguredTaskAwaiter", RUNTIME),
    awaiter("System.Runtime.CompilerServices.ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter", RUNTIME),
    awaiter("System.Runtime.CompilerServices.ValueTaskAwaiter", VALUE_TASKS),
    awaiter("System.Runtime.CompilerServices.ValueTaskAwaiter`1", VALUE_TASKS),
    awaiter("System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable+ConfiguredValueTaskAwaiter", VALUE_TASKS),
    awaiter("System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable`1+ConfiguredValueTaskAwaiter", VALUE_TASKS),
    builder("System.Runtime.CompilerServices.AsyncTaskMethodBuilder", RUNTIME),
    builder("System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1", RUNTIME),
    builder("System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder", VALUE_TASKS),
    builder("System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1", VALUE_TASKS),
    builder("System.Runtime.CompilerServices.AsyncVoidMethodBuilder", RUNTIME),
]

# Not marked auto-generated on purpose: the compiler's nullable and warning
# checks must cover these files like hand-written ones.
HEADER = """\
// Written by generate.py from its table; edit the table and rerun it.
"""


def split_parameters(inner):
    """Splits at the commas that separate parameters, not those of generic
    argument lists."""
    parts, depth, start = [], 0, 0
    for i, c in enumerate(inner):
        if c == "<":
            depth += 1
        elif c == ">":
            depth -= 1
        elif c == "," and depth == 0:
            parts.append(inner[start:i])
            start = i + 1
    parts.append(inner[start:])
    return [p.strip() for p in parts if p.strip()]


# Marks an overload that only newer runtimes define (see render_method).
NEWER = "newer"


class Overload:
    """One overload as the table spells it: "[condition] <T, U> Return
    (parameters) where T : constraint", the condition, generic parameters and
    constraints optional, the rest exactly as the original declares them."""

    def __init__(self, text):
        self.condition = None
        if text.startswith("["):
            self.condition, text = text[1:].split("] ", 1)
        self.generics = []
        if text.startswith("<"):
            generics, text = text[1:].split("> ", 1)
            self.generics = [g.strip() for g in generics.split(",")]
        self.ret, rest = text.split(" (", 1)
        close = rest.rindex(")")
        self.where = rest[close + 1:].strip()
        assert not self.where or self.where.startswith("where "), text
        self.params = []
        for part in split_parameters(rest[:close]):
            words = part.split()
            if words[:2] == ["ref", "readonly"]:
                modifier = "in"
            elif words[0] in ("ref", "out", "in"):
                modifier = words[0]
            else:
                modifier = ""
            self.params.append((part, modifier, words[-1]))

    @property
    def names(self):
        return [name for _, _, name in self.params]


def api_id_name(api_type, api):
    member = "Ctor" if api.method == CTOR else api.method.replace("get_", "Get")
    return api_type.plain_name + member


def wrapper_method_name(api):
    return "Ctor" if api.method == CTOR else api.method


def api_full_name(api_type, api):
    return f"{api_type.full_name}.{api.method}"


def is_static(api_type, api):
    return api_type.instance is None or api.static


def check_table():
    seen_ids = set()
    for api_type in API_TYPES:
        for surface in api_type.surfaces:
            assert surface in SURFACES, surface
        for api in api_type.apis:
            ident = api_id_name(api_type, api)
            assert ident not in seen_ids, ident
            seen_ids.add(ident)
            for text in (api_type.full_name, api.method, *api_type.surfaces):
                assert text.isascii() and len(text.encode()) < 256, text
            for text in api.overloads:
                overload = Overload(text)
                if api.method == CTOR:
                    assert overload.ret == api_type.short_name and api_type.instance, text
                    assert not overload.generics, text
                assert not set(overload.generics) & set(api_type.type_params), text
                assert overload.condition != NEWER or not (overload.generics or api_type.type_params), text
                subject = api.subject or (api_type.subject if is_static(api_type, api) else None)
                if subject is not None:
                    assert subject in overload.names, text


TIMEOUT_PARAMETERS = ("millisecondsTimeout", "timeout")


def lock_reports(api, params, ret, ident, reported):
    """The report calls before and after the original, as C# statements."""
    names = [name for _, _, name in params]
    if api.lock is None:
        return f"Report.Before({ident}, {reported})", f"Report.After({ident}, {reported})"
    if api.lock == "release":
        return f"Report.Releasing({ident}, {reported})", f"Report.After({ident}, {reported})"
    if api.lock == "wait":
        # Monitor.Wait takes the lock back even when it times out.
        return f"Report.Waiting({ident}, {reported})", f"Report.Acquired({ident}, {reported}, true)"
    blocks = api.lock == "acquire" and not any(n in TIMEOUT_PARAMETERS for n in names)
    before = (f"Report.Acquiring{api.lock_only}({ident}, {reported})" if blocks
              else f"Report.Before({ident}, {reported})")
    outcome = "lockTaken" if "lockTaken" in names else "result" if ret == "bool" else "true"
    return before, f"Report.Acquired{api.lock_only}({ident}, {reported}, {outcome})"


# Wrappers are left inlinable on purpose: none of the wrapped APIs looks at
# its caller's frame, so a wrapper inlined into the rewritten call site
# behaves exactly like a real call, and the rewrite stays cheap. Instance
# methods are called on the instance (callvirt), so overrides still run.
def render_method(surface, api_type, api, text):
    overload = Overload(text)
    condition, ret, params = overload.condition, overload.ret, overload.params
    ident = f"ApiTable.{api_id_name(api_type, api)}"
    args = ", ".join(f"{mod} {name}".strip() for _, mod, name in params)
    decl = [p for p, _, _ in params]
    # The wrapper's generic parameters: the type's, then the method's own, so
    # that an instantiation of the original maps onto one of the wrapper.
    generics = api_type.type_params + overload.generics
    method_arguments = f"<{', '.join(overload.generics)}>" if overload.generics else ""
    if api.method == CTOR:
        reported = "null"
        call = f"new {api_type.short_name}({args})"
    elif not is_static(api_type, api):
        by_ref = "ref " if api_type.value_type else ""
        decl.insert(0, f"{by_ref}{api_type.short_name} {api_type.instance}")
        reported = api_type.reported or api_type.instance
        if api.method.startswith("get_"):
            assert not params and not overload.generics, text
            call = f"{api_type.instance}.{api.method[4:]}"
        else:
            call = f"{api_type.instance}.{api.method}{method_arguments}({args})"
    else:
        reported = api.subject or api_type.subject or "null"
        call = f"{api_type.short_name}.{api.method}{method_arguments}({args})"

    before, after = lock_reports(api, params, ret, ident, reported)
    if api_type.locations and params and params[0][1] in ("ref", "in"):
        before = f"Report.Location({ident}, in {params[0][2]})"
    lines = [f"#if {condition}"] if condition and condition != NEWER else []
    if condition == NEWER:
        # A member of a newer runtime than the one the assembly is built
        # for, whose parameter types the older one has: the original is
        # found when the wrapper is first used, and called through its
        # address with the same arguments.
        assert is_static(api_type, api) and api.method != CTOR, text
        # The holder class keeps the look-up out of the wrapper class's own
        # initialisation, which older runtimes run too.
        decl = [" ".join(w for w in p.split() if w != "params") for p in decl]
        types = [" ".join(p.split()[:-1]) for p in decl]
        pointer = f"delegate*<{', '.join(types + [ret])}>"
        holder = f"{wrapper_method_name(api)}Of{''.join(t.replace('<', '').replace('>', '') for t in types)}"
        lookup = ", ".join([f'typeof({api_type.short_name})', f'"{api.method}"'] + [f"typeof({t})" for t in types])
        lines += [f"        private static class {holder}",
                  "        {",
                  f"            internal static readonly {pointer} Original = ({pointer})Newer.Method({lookup});",
                  "        }",
                  ""]
        call = f"{holder}.Original({args})"
    generic_list = f"<{', '.join(generics)}>" if generics else ""
    where = f" {overload.where}" if overload.where else ""
    lines += [
        f'        [Replacement("{surface}", "{api_type.full_name}", "{api.method}")]',
        f"        public static {ret} {wrapper_method_name(api)}{generic_list}({', '.join(decl)}){where}",
        "        {",
        f"            {before};",
    ]
    if ret == "void":
        lines.append(f"            {call};")
        if api.blocking:
            lines.append(f"            {after};")
    elif api.blocking:
        lines.append(f"            {ret} result = {call};")
        lines.append(f"            {after};")
        lines.append("            return result;")
    else:
        lines.append(f"            return {call};")
    lines.append("        }")
    if condition and condition != NEWER:
        lines.append("#endif")
    return lines


def render_surface(surface):
    out = [
        HEADER,
        "using System;",
        "using System.Collections.Generic;",
        "using System.Runtime.CompilerServices;",
        "using System.Threading;",
        "using System.Threading.Tasks;",
        "using veskmrte_1_0;",
        "",
        f"namespace Veskmrte.Wrappers.{SURFACES[surface]}",
        "{",
    ]
    first_type = True
    for api_type in API_TYPES:
        if surface not in api_type.surfaces:
            continue
        if not first_type:
            out.append("")
        first_type = False
        if api_type.condition:
            out.append(f"#if {api_type.condition}")
        if api_type.full_name.startswith("System.Threading.Lock"):
            # The lock is handed to the report as an object only to be
            # named, never to be locked on.
            out.append("#pragma warning disable CS9216")
        out.append(f'    // Replaces calls that name {api_type.full_name} through "{surface}".')
        out.append(f"    public static unsafe class {api_type.plain_name}Wrapper")
        out.append("    {")
        first_method = True
        for api in api_type.apis:
            for overload in api.overloads:
                if not first_method:
                    out.append("")
                first_method = False
                out.extend(render_method(surface, api_type, api, overload))
        out.append("    }")
        if api_type.full_name.startswith("System.Threading.Lock"):
            out.append("#pragma warning restore CS9216")
        if api_type.condition:
            out.append("#endif")
    out.append("}")
    return "\n".join(out) + "\n"


def render_table():
    out = [
        HEADER,
        "using System;",
        "",
        "namespace Veskmrte.Wrappers",
        "{",
        "    // Ids passed to Report: each is its name's place in Names.",
        "    internal static class ApiTable",
        "    {",
    ]
    # Types only some runtimes have come last, so that the ids of the others
    # are the same in every build.
    ordered = [t for t in API_TYPES if not t.condition] + [t for t in API_TYPES if t.condition]
    names = []
    for condition, group in itertools.groupby(ordered, key=lambda t: t.condition):
        entries = [(api_id_name(t, a), api_full_name(t, a)) for t in group for a in t.apis]
        names.append((condition, entries))
    ids, count = [], 0
    for condition, entries in names:
        ids += [f"#if {condition}"] if condition else []
        for ident, _ in entries:
            ids.append(f"        internal const int {ident} = {count};")
            count += 1
        ids += ["#endif"] if condition else []
    out.extend(ids)
    out.append("")
    # Every name in id order, each ending with a NUL as the tool library takes
    # them: UTF-8 in the assembly's data, with no initialiser to compile and
    # nothing to allocate at start-up. A runtime's own names follow the
    # common ones within the same literal.
    out.append("        internal static ReadOnlySpan<byte> Names =>")
    first = True
    for condition, entries in names:
        out += [f"#if {condition}"] if condition else []
        for _, name in entries:
            out.append(f'            {"" if first else "+ "}"{name}\\0"u8')
            first = False
        out += ["#endif"] if condition else []
    out.append("            ;")
    out.append("    }")
    out.append("}")
    return "\n".join(out) + "\n"


def render_all():
    files = {"ApiTable.cs": render_table()}
    for surface, namespace in SURFACES.items():
        files[f"{namespace}.cs"] = render_surface(surface)
    return files


def main(argv):
    check_table()
    files = render_all()
    existing = {p.name for p in OUT_DIR.glob("*.cs")} if OUT_DIR.exists() else set()
    if "--check" in argv:
        stale = sorted(name for name, text in files.items()
                       if not (OUT_DIR / name).exists() or (OUT_DIR / name).read_text() != text)
        stale += sorted(existing - files.keys())
        if stale:
            print("generate.py: Generated/ is out of date (" + ", ".join(stale) + "); run: python3 generate.py",
                  file=sys.stderr)
            return 1
        return 0
    OUT_DIR.mkdir(exist_ok=True)
    for name in existing - files.keys():
        (OUT_DIR / name).unlink()
    for name, text in files.items():
        path = OUT_DIR / name
        if not path.exists() or path.read_text() != text:
            path.write_text(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
