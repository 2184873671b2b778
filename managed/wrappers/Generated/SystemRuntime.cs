// Written by generate.py from its table; edit the table and rerun it.

using System;
using System.Collections.Generic;
using System.Threading;
using System.Threading.Tasks;
using veskmrte_1_0;

namespace Veskmrte.Wrappers.SystemRuntime
{
    // Replaces calls that name System.Threading.WaitHandle through "System.Runtime".
    public static unsafe class WaitHandleWrapper
    {
        [Replacement("System.Runtime", "System.Threading.WaitHandle", "WaitOne")]
        public static bool WaitOne(WaitHandle handle)
        {
            Report.AcquiringMutex(ApiTable.WaitHandleWaitOne, handle);
            bool result = handle.WaitOne();
            Report.AcquiredMutex(ApiTable.WaitHandleWaitOne, handle, result);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.WaitHandle", "WaitOne")]
        public static bool WaitOne(WaitHandle handle, int millisecondsTimeout)
        {
            Report.Before(ApiTable.WaitHandleWaitOne, handle);
            bool result = handle.WaitOne(millisecondsTimeout);
            Report.AcquiredMutex(ApiTable.WaitHandleWaitOne, handle, result);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.WaitHandle", "WaitOne")]
        public static bool WaitOne(WaitHandle handle, TimeSpan timeout)
        {
            Report.Before(ApiTable.WaitHandleWaitOne, handle);
            bool result = handle.WaitOne(timeout);
            Report.AcquiredMutex(ApiTable.WaitHandleWaitOne, handle, result);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.WaitHandle", "WaitOne")]
        public static bool WaitOne(WaitHandle handle, int millisecondsTimeout, bool exitContext)
        {
            Report.Before(ApiTable.WaitHandleWaitOne, handle);
            bool result = handle.WaitOne(millisecondsTimeout, exitContext);
            Report.AcquiredMutex(ApiTable.WaitHandleWaitOne, handle, result);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.WaitHandle", "WaitOne")]
        public static bool WaitOne(WaitHandle handle, TimeSpan timeout, bool exitContext)
        {
            Report.Before(ApiTable.WaitHandleWaitOne, handle);
            bool result = handle.WaitOne(timeout, exitContext);
            Report.AcquiredMutex(ApiTable.WaitHandleWaitOne, handle, result);
            return result;
        }
    }

#if NET9_0_OR_GREATER
#pragma warning disable CS9216
    // Replaces calls that name System.Threading.Lock through "System.Runtime".
    public static unsafe class LockWrapper
    {
        [Replacement("System.Runtime", "System.Threading.Lock", ".ctor")]
        public static Lock Ctor()
        {
            Report.Before(ApiTable.LockCtor, null);
            return new Lock();
        }

        [Replacement("System.Runtime", "System.Threading.Lock", "Enter")]
        public static void Enter(Lock lockObj)
        {
            Report.Acquiring(ApiTable.LockEnter, lockObj);
            lockObj.Enter();
            Report.Acquired(ApiTable.LockEnter, lockObj, true);
        }

        [Replacement("System.Runtime", "System.Threading.Lock", "TryEnter")]
        public static bool TryEnter(Lock lockObj)
        {
            Report.Before(ApiTable.LockTryEnter, lockObj);
            bool result = lockObj.TryEnter();
            Report.Acquired(ApiTable.LockTryEnter, lockObj, result);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.Lock", "TryEnter")]
        public static bool TryEnter(Lock lockObj, int millisecondsTimeout)
        {
            Report.Before(ApiTable.LockTryEnter, lockObj);
            bool result = lockObj.TryEnter(millisecondsTimeout);
            Report.Acquired(ApiTable.LockTryEnter, lockObj, result);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.Lock", "TryEnter")]
        public static bool TryEnter(Lock lockObj, TimeSpan timeout)
        {
            Report.Before(ApiTable.LockTryEnter, lockObj);
            bool result = lockObj.TryEnter(timeout);
            Report.Acquired(ApiTable.LockTryEnter, lockObj, result);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.Lock", "Exit")]
        public static void Exit(Lock lockObj)
        {
            Report.Releasing(ApiTable.LockExit, lockObj);
            lockObj.Exit();
        }

        [Replacement("System.Runtime", "System.Threading.Lock", "EnterScope")]
        public static Lock.Scope EnterScope(Lock lockObj)
        {
            Report.Acquiring(ApiTable.LockEnterScope, lockObj);
            Lock.Scope result = lockObj.EnterScope();
            Report.Acquired(ApiTable.LockEnterScope, lockObj, true);
            return result;
        }
    }
#pragma warning restore CS9216
#endif

#if NET9_0_OR_GREATER
#pragma warning disable CS9216
    // Replaces calls that name System.Threading.Lock+Scope through "System.Runtime".
    public static unsafe class LockScopeWrapper
    {
        [Replacement("System.Runtime", "System.Threading.Lock+Scope", "Dispose")]
        public static void Dispose(ref Lock.Scope scope)
        {
            Report.Releasing(ApiTable.LockScopeDispose, LockScopes.LockOf(ref scope));
            scope.Dispose();
        }
    }
#pragma warning restore CS9216
#endif

    // Replaces calls that name System.Threading.Timer through "System.Runtime".
    public static unsafe class TimerWrapper
    {
        [Replacement("System.Runtime", "System.Threading.Timer", ".ctor")]
        public static Timer Ctor(TimerCallback callback)
        {
            Report.Before(ApiTable.TimerCtor, null);
            return new Timer(callback);
        }

        [Replacement("System.Runtime", "System.Threading.Timer", ".ctor")]
        public static Timer Ctor(TimerCallback callback, object? state, int dueTime, int period)
        {
            Report.Before(ApiTable.TimerCtor, null);
            return new Timer(callback, state, dueTime, period);
        }

        [Replacement("System.Runtime", "System.Threading.Timer", ".ctor")]
        public static Timer Ctor(TimerCallback callback, object? state, long dueTime, long period)
        {
            Report.Before(ApiTable.TimerCtor, null);
            return new Timer(callback, state, dueTime, period);
        }

        [Replacement("System.Runtime", "System.Threading.Timer", ".ctor")]
        public static Timer Ctor(TimerCallback callback, object? state, uint dueTime, uint period)
        {
            Report.Before(ApiTable.TimerCtor, null);
            return new Timer(callback, state, dueTime, period);
        }

        [Replacement("System.Runtime", "System.Threading.Timer", ".ctor")]
        public static Timer Ctor(TimerCallback callback, object? state, TimeSpan dueTime, TimeSpan period)
        {
            Report.Before(ApiTable.TimerCtor, null);
            return new Timer(callback, state, dueTime, period);
        }

        [Replacement("System.Runtime", "System.Threading.Timer", "Change")]
        public static bool Change(Timer timer, int dueTime, int period)
        {
            Report.Before(ApiTable.TimerChange, timer);
            return timer.Change(dueTime, period);
        }

        [Replacement("System.Runtime", "System.Threading.Timer", "Change")]
        public static bool Change(Timer timer, long dueTime, long period)
        {
            Report.Before(ApiTable.TimerChange, timer);
            return timer.Change(dueTime, period);
        }

        [Replacement("System.Runtime", "System.Threading.Timer", "Change")]
        public static bool Change(Timer timer, uint dueTime, uint period)
        {
            Report.Before(ApiTable.TimerChange, timer);
            return timer.Change(dueTime, period);
        }

        [Replacement("System.Runtime", "System.Threading.Timer", "Change")]
        public static bool Change(Timer timer, TimeSpan dueTime, TimeSpan period)
        {
            Report.Before(ApiTable.TimerChange, timer);
            return timer.Change(dueTime, period);
        }
    }

    // Replaces calls that name System.Threading.CancellationTokenSource through "System.Runtime".
    public static unsafe class CancellationTokenSourceWrapper
    {
        [Replacement("System.Runtime", "System.Threading.CancellationTokenSource", "Cancel")]
        public static void Cancel(CancellationTokenSource source)
        {
            Report.Before(ApiTable.CancellationTokenSourceCancel, source);
            source.Cancel();
        }

        [Replacement("System.Runtime", "System.Threading.CancellationTokenSource", "Cancel")]
        public static void Cancel(CancellationTokenSource source, bool throwOnFirstException)
        {
            Report.Before(ApiTable.CancellationTokenSourceCancel, source);
            source.Cancel(throwOnFirstException);
        }

        [Replacement("System.Runtime", "System.Threading.CancellationTokenSource", "CancelAfter")]
        public static void CancelAfter(CancellationTokenSource source, int millisecondsDelay)
        {
            Report.Before(ApiTable.CancellationTokenSourceCancelAfter, source);
            source.CancelAfter(millisecondsDelay);
        }

        [Replacement("System.Runtime", "System.Threading.CancellationTokenSource", "CancelAfter")]
        public static void CancelAfter(CancellationTokenSource source, TimeSpan delay)
        {
            Report.Before(ApiTable.CancellationTokenSourceCancelAfter, source);
            source.CancelAfter(delay);
        }
    }

    // Replaces calls that name System.Threading.Tasks.Task through "System.Runtime".
    public static unsafe class TaskWrapper
    {
        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "Run")]
        public static Task Run(Action action)
        {
            Report.Before(ApiTable.TaskRun, null);
            return Task.Run(action);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "Run")]
        public static Task Run(Action action, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskRun, null);
            return Task.Run(action, cancellationToken);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "Run")]
        public static Task Run(Func<Task?> function)
        {
            Report.Before(ApiTable.TaskRun, null);
            return Task.Run(function);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "Run")]
        public static Task Run(Func<Task?> function, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskRun, null);
            return Task.Run(function, cancellationToken);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "Start")]
        public static void Start(Task task)
        {
            Report.Before(ApiTable.TaskStart, task);
            task.Start();
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "Start")]
        public static void Start(Task task, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskStart, task);
            task.Start(scheduler);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "Wait")]
        public static void Wait(Task task)
        {
            Report.Before(ApiTable.TaskWait, task);
            task.Wait();
            Report.After(ApiTable.TaskWait, task);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "Wait")]
        public static bool Wait(Task task, int millisecondsTimeout)
        {
            Report.Before(ApiTable.TaskWait, task);
            bool result = task.Wait(millisecondsTimeout);
            Report.After(ApiTable.TaskWait, task);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "Wait")]
        public static bool Wait(Task task, TimeSpan timeout)
        {
            Report.Before(ApiTable.TaskWait, task);
            bool result = task.Wait(timeout);
            Report.After(ApiTable.TaskWait, task);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "Wait")]
        public static void Wait(Task task, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskWait, task);
            task.Wait(cancellationToken);
            Report.After(ApiTable.TaskWait, task);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "Wait")]
        public static bool Wait(Task task, int millisecondsTimeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskWait, task);
            bool result = task.Wait(millisecondsTimeout, cancellationToken);
            Report.After(ApiTable.TaskWait, task);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WaitAll")]
        public static void WaitAll(Task[] tasks)
        {
            Report.Before(ApiTable.TaskWaitAll, null);
            Task.WaitAll(tasks);
            Report.After(ApiTable.TaskWaitAll, null);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WaitAll")]
        public static bool WaitAll(Task[] tasks, int millisecondsTimeout)
        {
            Report.Before(ApiTable.TaskWaitAll, null);
            bool result = Task.WaitAll(tasks, millisecondsTimeout);
            Report.After(ApiTable.TaskWaitAll, null);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WaitAll")]
        public static bool WaitAll(Task[] tasks, TimeSpan timeout)
        {
            Report.Before(ApiTable.TaskWaitAll, null);
            bool result = Task.WaitAll(tasks, timeout);
            Report.After(ApiTable.TaskWaitAll, null);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WaitAll")]
        public static void WaitAll(Task[] tasks, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskWaitAll, null);
            Task.WaitAll(tasks, cancellationToken);
            Report.After(ApiTable.TaskWaitAll, null);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WaitAll")]
        public static bool WaitAll(Task[] tasks, int millisecondsTimeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskWaitAll, null);
            bool result = Task.WaitAll(tasks, millisecondsTimeout, cancellationToken);
            Report.After(ApiTable.TaskWaitAll, null);
            return result;
        }

        private static class WaitAllOfReadOnlySpanTask
        {
            internal static readonly delegate*<ReadOnlySpan<Task>, void> Original = (delegate*<ReadOnlySpan<Task>, void>)Newer.Method(typeof(Task), "WaitAll", typeof(ReadOnlySpan<Task>));
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WaitAll")]
        public static void WaitAll(ReadOnlySpan<Task> tasks)
        {
            Report.Before(ApiTable.TaskWaitAll, null);
            WaitAllOfReadOnlySpanTask.Original(tasks);
            Report.After(ApiTable.TaskWaitAll, null);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WaitAny")]
        public static int WaitAny(Task[] tasks)
        {
            Report.Before(ApiTable.TaskWaitAny, null);
            int result = Task.WaitAny(tasks);
            Report.After(ApiTable.TaskWaitAny, null);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WaitAny")]
        public static int WaitAny(Task[] tasks, int millisecondsTimeout)
        {
            Report.Before(ApiTable.TaskWaitAny, null);
            int result = Task.WaitAny(tasks, millisecondsTimeout);
            Report.After(ApiTable.TaskWaitAny, null);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WaitAny")]
        public static int WaitAny(Task[] tasks, TimeSpan timeout)
        {
            Report.Before(ApiTable.TaskWaitAny, null);
            int result = Task.WaitAny(tasks, timeout);
            Report.After(ApiTable.TaskWaitAny, null);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WaitAny")]
        public static int WaitAny(Task[] tasks, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskWaitAny, null);
            int result = Task.WaitAny(tasks, cancellationToken);
            Report.After(ApiTable.TaskWaitAny, null);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WaitAny")]
        public static int WaitAny(Task[] tasks, int millisecondsTimeout, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskWaitAny, null);
            int result = Task.WaitAny(tasks, millisecondsTimeout, cancellationToken);
            Report.After(ApiTable.TaskWaitAny, null);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task ContinueWith(Task task, Action<Task> continuationAction)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith(continuationAction);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task ContinueWith(Task task, Action<Task> continuationAction, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith(continuationAction, cancellationToken);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task ContinueWith(Task task, Action<Task> continuationAction, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith(continuationAction, scheduler);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task ContinueWith(Task task, Action<Task> continuationAction, TaskContinuationOptions continuationOptions)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith(continuationAction, continuationOptions);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task ContinueWith(Task task, Action<Task> continuationAction, CancellationToken cancellationToken, TaskContinuationOptions continuationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith(continuationAction, cancellationToken, continuationOptions, scheduler);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task ContinueWith(Task task, Action<Task, object?> continuationAction, object? state)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith(continuationAction, state);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WhenAll")]
        public static Task WhenAll(params Task[] tasks)
        {
            Report.Before(ApiTable.TaskWhenAll, null);
            return Task.WhenAll(tasks);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WhenAll")]
        public static Task WhenAll(IEnumerable<Task> tasks)
        {
            Report.Before(ApiTable.TaskWhenAll, null);
            return Task.WhenAll(tasks);
        }

        private static class WhenAllOfReadOnlySpanTask
        {
            internal static readonly delegate*<ReadOnlySpan<Task>, Task> Original = (delegate*<ReadOnlySpan<Task>, Task>)Newer.Method(typeof(Task), "WhenAll", typeof(ReadOnlySpan<Task>));
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WhenAll")]
        public static Task WhenAll(ReadOnlySpan<Task> tasks)
        {
            Report.Before(ApiTable.TaskWhenAll, null);
            return WhenAllOfReadOnlySpanTask.Original(tasks);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WhenAny")]
        public static Task<Task> WhenAny(params Task[] tasks)
        {
            Report.Before(ApiTable.TaskWhenAny, null);
            return Task.WhenAny(tasks);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WhenAny")]
        public static Task<Task> WhenAny(IEnumerable<Task> tasks)
        {
            Report.Before(ApiTable.TaskWhenAny, null);
            return Task.WhenAny(tasks);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WhenAny")]
        public static Task<Task> WhenAny(Task task1, Task task2)
        {
            Report.Before(ApiTable.TaskWhenAny, null);
            return Task.WhenAny(task1, task2);
        }

        private static class WhenAnyOfReadOnlySpanTask
        {
            internal static readonly delegate*<ReadOnlySpan<Task>, Task<Task>> Original = (delegate*<ReadOnlySpan<Task>, Task<Task>>)Newer.Method(typeof(Task), "WhenAny", typeof(ReadOnlySpan<Task>));
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WhenAny")]
        public static Task<Task> WhenAny(ReadOnlySpan<Task> tasks)
        {
            Report.Before(ApiTable.TaskWhenAny, null);
            return WhenAnyOfReadOnlySpanTask.Original(tasks);
        }
    }

    // Replaces calls that name System.Threading.Tasks.TaskFactory through "System.Runtime".
    public static unsafe class TaskFactoryWrapper
    {
        [Replacement("System.Runtime", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task StartNew(TaskFactory factory, Action action)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew(action);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task StartNew(TaskFactory factory, Action action, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew(action, cancellationToken);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task StartNew(TaskFactory factory, Action action, TaskCreationOptions creationOptions)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew(action, creationOptions);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task StartNew(TaskFactory factory, Action action, CancellationToken cancellationToken, TaskCreationOptions creationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew(action, cancellationToken, creationOptions, scheduler);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task StartNew(TaskFactory factory, Action<object?> action, object? state)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew(action, state);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task StartNew(TaskFactory factory, Action<object?> action, object? state, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew(action, state, cancellationToken);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task StartNew(TaskFactory factory, Action<object?> action, object? state, TaskCreationOptions creationOptions)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew(action, state, creationOptions);
        }
    }
}
