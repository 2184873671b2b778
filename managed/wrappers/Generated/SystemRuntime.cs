// Written by generate.py from its table; edit the table and rerun it.

using System;
using System.Collections.Generic;
using System.Runtime.CompilerServices;
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

        [Replacement("System.Runtime", "System.Threading.WaitHandle", "WaitAny")]
        public static int WaitAny(WaitHandle[] waitHandles)
        {
            Report.Before(ApiTable.WaitHandleWaitAny, null);
            int result = WaitHandle.WaitAny(waitHandles);
            Report.After(ApiTable.WaitHandleWaitAny, null);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.WaitHandle", "WaitAny")]
        public static int WaitAny(WaitHandle[] waitHandles, int millisecondsTimeout)
        {
            Report.Before(ApiTable.WaitHandleWaitAny, null);
            int result = WaitHandle.WaitAny(waitHandles, millisecondsTimeout);
            Report.After(ApiTable.WaitHandleWaitAny, null);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.WaitHandle", "WaitAny")]
        public static int WaitAny(WaitHandle[] waitHandles, TimeSpan timeout)
        {
            Report.Before(ApiTable.WaitHandleWaitAny, null);
            int result = WaitHandle.WaitAny(waitHandles, timeout);
            Report.After(ApiTable.WaitHandleWaitAny, null);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.WaitHandle", "WaitAny")]
        public static int WaitAny(WaitHandle[] waitHandles, int millisecondsTimeout, bool exitContext)
        {
            Report.Before(ApiTable.WaitHandleWaitAny, null);
            int result = WaitHandle.WaitAny(waitHandles, millisecondsTimeout, exitContext);
            Report.After(ApiTable.WaitHandleWaitAny, null);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.WaitHandle", "WaitAny")]
        public static int WaitAny(WaitHandle[] waitHandles, TimeSpan timeout, bool exitContext)
        {
            Report.Before(ApiTable.WaitHandleWaitAny, null);
            int result = WaitHandle.WaitAny(waitHandles, timeout, exitContext);
            Report.After(ApiTable.WaitHandleWaitAny, null);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.WaitHandle", "WaitAll")]
        public static bool WaitAll(WaitHandle[] waitHandles)
        {
            Report.Before(ApiTable.WaitHandleWaitAll, null);
            bool result = WaitHandle.WaitAll(waitHandles);
            Report.After(ApiTable.WaitHandleWaitAll, null);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.WaitHandle", "WaitAll")]
        public static bool WaitAll(WaitHandle[] waitHandles, int millisecondsTimeout)
        {
            Report.Before(ApiTable.WaitHandleWaitAll, null);
            bool result = WaitHandle.WaitAll(waitHandles, millisecondsTimeout);
            Report.After(ApiTable.WaitHandleWaitAll, null);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.WaitHandle", "WaitAll")]
        public static bool WaitAll(WaitHandle[] waitHandles, TimeSpan timeout)
        {
            Report.Before(ApiTable.WaitHandleWaitAll, null);
            bool result = WaitHandle.WaitAll(waitHandles, timeout);
            Report.After(ApiTable.WaitHandleWaitAll, null);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.WaitHandle", "WaitAll")]
        public static bool WaitAll(WaitHandle[] waitHandles, int millisecondsTimeout, bool exitContext)
        {
            Report.Before(ApiTable.WaitHandleWaitAll, null);
            bool result = WaitHandle.WaitAll(waitHandles, millisecondsTimeout, exitContext);
            Report.After(ApiTable.WaitHandleWaitAll, null);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.WaitHandle", "WaitAll")]
        public static bool WaitAll(WaitHandle[] waitHandles, TimeSpan timeout, bool exitContext)
        {
            Report.Before(ApiTable.WaitHandleWaitAll, null);
            bool result = WaitHandle.WaitAll(waitHandles, timeout, exitContext);
            Report.After(ApiTable.WaitHandleWaitAll, null);
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

        [Replacement("System.Runtime", "System.Threading.CancellationTokenSource", ".ctor")]
        public static CancellationTokenSource Ctor()
        {
            Report.Before(ApiTable.CancellationTokenSourceCtor, null);
            return new CancellationTokenSource();
        }

        [Replacement("System.Runtime", "System.Threading.CancellationTokenSource", ".ctor")]
        public static CancellationTokenSource Ctor(int millisecondsDelay)
        {
            Report.Before(ApiTable.CancellationTokenSourceCtor, null);
            return new CancellationTokenSource(millisecondsDelay);
        }

        [Replacement("System.Runtime", "System.Threading.CancellationTokenSource", ".ctor")]
        public static CancellationTokenSource Ctor(TimeSpan delay)
        {
            Report.Before(ApiTable.CancellationTokenSourceCtor, null);
            return new CancellationTokenSource(delay);
        }

        [Replacement("System.Runtime", "System.Threading.CancellationTokenSource", ".ctor")]
        public static CancellationTokenSource Ctor(TimeSpan delay, TimeProvider timeProvider)
        {
            Report.Before(ApiTable.CancellationTokenSourceCtor, null);
            return new CancellationTokenSource(delay, timeProvider);
        }

        [Replacement("System.Runtime", "System.Threading.CancellationTokenSource", "CreateLinkedTokenSource")]
        public static CancellationTokenSource CreateLinkedTokenSource(CancellationToken token)
        {
            Report.Before(ApiTable.CancellationTokenSourceCreateLinkedTokenSource, null);
            return CancellationTokenSource.CreateLinkedTokenSource(token);
        }

        [Replacement("System.Runtime", "System.Threading.CancellationTokenSource", "CreateLinkedTokenSource")]
        public static CancellationTokenSource CreateLinkedTokenSource(CancellationToken token1, CancellationToken token2)
        {
            Report.Before(ApiTable.CancellationTokenSourceCreateLinkedTokenSource, null);
            return CancellationTokenSource.CreateLinkedTokenSource(token1, token2);
        }

        [Replacement("System.Runtime", "System.Threading.CancellationTokenSource", "CreateLinkedTokenSource")]
        public static CancellationTokenSource CreateLinkedTokenSource(params CancellationToken[] tokens)
        {
            Report.Before(ApiTable.CancellationTokenSourceCreateLinkedTokenSource, null);
            return CancellationTokenSource.CreateLinkedTokenSource(tokens);
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

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "Run")]
        public static Task<TResult> Run<TResult>(Func<TResult> function)
        {
            Report.Before(ApiTable.TaskRun, null);
            return Task.Run<TResult>(function);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "Run")]
        public static Task<TResult> Run<TResult>(Func<TResult> function, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskRun, null);
            return Task.Run<TResult>(function, cancellationToken);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "Run")]
        public static Task<TResult> Run<TResult>(Func<Task<TResult>?> function)
        {
            Report.Before(ApiTable.TaskRun, null);
            return Task.Run<TResult>(function);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "Run")]
        public static Task<TResult> Run<TResult>(Func<Task<TResult>?> function, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskRun, null);
            return Task.Run<TResult>(function, cancellationToken);
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

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task ContinueWith(Task task, Action<Task, object?> continuationAction, object? state, CancellationToken cancellationToken, TaskContinuationOptions continuationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith(continuationAction, state, cancellationToken, continuationOptions, scheduler);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TNewResult>(Task task, Func<Task, TNewResult> continuationFunction)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TNewResult>(Task task, Func<Task, TNewResult> continuationFunction, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, cancellationToken);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TNewResult>(Task task, Func<Task, TNewResult> continuationFunction, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, scheduler);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TNewResult>(Task task, Func<Task, TNewResult> continuationFunction, TaskContinuationOptions continuationOptions)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, continuationOptions);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TNewResult>(Task task, Func<Task, TNewResult> continuationFunction, CancellationToken cancellationToken, TaskContinuationOptions continuationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, cancellationToken, continuationOptions, scheduler);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TNewResult>(Task task, Func<Task, object?, TNewResult> continuationFunction, object? state)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, state);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TNewResult>(Task task, Func<Task, object?, TNewResult> continuationFunction, object? state, CancellationToken cancellationToken, TaskContinuationOptions continuationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, state, cancellationToken, continuationOptions, scheduler);
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

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WhenAll")]
        public static Task<TResult[]> WhenAll<TResult>(params Task<TResult>[] tasks)
        {
            Report.Before(ApiTable.TaskWhenAll, null);
            return Task.WhenAll<TResult>(tasks);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WhenAll")]
        public static Task<TResult[]> WhenAll<TResult>(IEnumerable<Task<TResult>> tasks)
        {
            Report.Before(ApiTable.TaskWhenAll, null);
            return Task.WhenAll<TResult>(tasks);
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

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WhenAny")]
        public static Task<Task<TResult>> WhenAny<TResult>(params Task<TResult>[] tasks)
        {
            Report.Before(ApiTable.TaskWhenAny, null);
            return Task.WhenAny<TResult>(tasks);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WhenAny")]
        public static Task<Task<TResult>> WhenAny<TResult>(IEnumerable<Task<TResult>> tasks)
        {
            Report.Before(ApiTable.TaskWhenAny, null);
            return Task.WhenAny<TResult>(tasks);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task", "WhenAny")]
        public static Task<Task<TResult>> WhenAny<TResult>(Task<TResult> task1, Task<TResult> task2)
        {
            Report.Before(ApiTable.TaskWhenAny, null);
            return Task.WhenAny<TResult>(task1, task2);
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

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task StartNew(TaskFactory factory, Action<object?> action, object? state, CancellationToken cancellationToken, TaskCreationOptions creationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew(action, state, cancellationToken, creationOptions, scheduler);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task<TResult> StartNew<TResult>(TaskFactory factory, Func<TResult> function)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew<TResult>(function);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task<TResult> StartNew<TResult>(TaskFactory factory, Func<TResult> function, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew<TResult>(function, cancellationToken);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task<TResult> StartNew<TResult>(TaskFactory factory, Func<TResult> function, TaskCreationOptions creationOptions)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew<TResult>(function, creationOptions);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task<TResult> StartNew<TResult>(TaskFactory factory, Func<TResult> function, CancellationToken cancellationToken, TaskCreationOptions creationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew<TResult>(function, cancellationToken, creationOptions, scheduler);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task<TResult> StartNew<TResult>(TaskFactory factory, Func<object?, TResult> function, object? state)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew<TResult>(function, state);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task<TResult> StartNew<TResult>(TaskFactory factory, Func<object?, TResult> function, object? state, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew<TResult>(function, state, cancellationToken);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task<TResult> StartNew<TResult>(TaskFactory factory, Func<object?, TResult> function, object? state, TaskCreationOptions creationOptions)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew<TResult>(function, state, creationOptions);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskFactory", "StartNew")]
        public static Task<TResult> StartNew<TResult>(TaskFactory factory, Func<object?, TResult> function, object? state, CancellationToken cancellationToken, TaskCreationOptions creationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.TaskFactoryStartNew, factory);
            return factory.StartNew<TResult>(function, state, cancellationToken, creationOptions, scheduler);
        }
    }

    // Replaces calls that name System.Threading.Tasks.Task`1 through "System.Runtime".
    public static unsafe class Task1Wrapper
    {
        [Replacement("System.Runtime", "System.Threading.Tasks.Task`1", "get_Result")]
        public static TResult get_Result<TResult>(Task<TResult> task)
        {
            Report.Before(ApiTable.Task1GetResult, task);
            TResult result = task.Result;
            Report.After(ApiTable.Task1GetResult, task);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task ContinueWith<TResult>(Task<TResult> task, Action<Task<TResult>> continuationAction)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith(continuationAction);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task ContinueWith<TResult>(Task<TResult> task, Action<Task<TResult>> continuationAction, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith(continuationAction, cancellationToken);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task ContinueWith<TResult>(Task<TResult> task, Action<Task<TResult>> continuationAction, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith(continuationAction, scheduler);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task ContinueWith<TResult>(Task<TResult> task, Action<Task<TResult>> continuationAction, TaskContinuationOptions continuationOptions)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith(continuationAction, continuationOptions);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task ContinueWith<TResult>(Task<TResult> task, Action<Task<TResult>> continuationAction, CancellationToken cancellationToken, TaskContinuationOptions continuationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith(continuationAction, cancellationToken, continuationOptions, scheduler);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task ContinueWith<TResult>(Task<TResult> task, Action<Task<TResult>, object?> continuationAction, object? state)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith(continuationAction, state);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task ContinueWith<TResult>(Task<TResult> task, Action<Task<TResult>, object?> continuationAction, object? state, CancellationToken cancellationToken, TaskContinuationOptions continuationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith(continuationAction, state, cancellationToken, continuationOptions, scheduler);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TResult, TNewResult>(Task<TResult> task, Func<Task<TResult>, TNewResult> continuationFunction)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TResult, TNewResult>(Task<TResult> task, Func<Task<TResult>, TNewResult> continuationFunction, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, cancellationToken);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TResult, TNewResult>(Task<TResult> task, Func<Task<TResult>, TNewResult> continuationFunction, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, scheduler);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TResult, TNewResult>(Task<TResult> task, Func<Task<TResult>, TNewResult> continuationFunction, TaskContinuationOptions continuationOptions)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, continuationOptions);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TResult, TNewResult>(Task<TResult> task, Func<Task<TResult>, TNewResult> continuationFunction, CancellationToken cancellationToken, TaskContinuationOptions continuationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, cancellationToken, continuationOptions, scheduler);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TResult, TNewResult>(Task<TResult> task, Func<Task<TResult>, object?, TNewResult> continuationFunction, object? state)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, state);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.Task`1", "ContinueWith")]
        public static Task<TNewResult> ContinueWith<TResult, TNewResult>(Task<TResult> task, Func<Task<TResult>, object?, TNewResult> continuationFunction, object? state, CancellationToken cancellationToken, TaskContinuationOptions continuationOptions, TaskScheduler scheduler)
        {
            Report.Before(ApiTable.Task1ContinueWith, task);
            return task.ContinueWith<TNewResult>(continuationFunction, state, cancellationToken, continuationOptions, scheduler);
        }
    }

    // Replaces calls that name System.Threading.Tasks.TaskCompletionSource`1 through "System.Runtime".
    public static unsafe class TaskCompletionSource1Wrapper
    {
        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource`1", ".ctor")]
        public static TaskCompletionSource<TResult> Ctor<TResult>()
        {
            Report.Before(ApiTable.TaskCompletionSource1Ctor, null);
            return new TaskCompletionSource<TResult>();
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource`1", ".ctor")]
        public static TaskCompletionSource<TResult> Ctor<TResult>(object? state)
        {
            Report.Before(ApiTable.TaskCompletionSource1Ctor, null);
            return new TaskCompletionSource<TResult>(state);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource`1", ".ctor")]
        public static TaskCompletionSource<TResult> Ctor<TResult>(TaskCreationOptions creationOptions)
        {
            Report.Before(ApiTable.TaskCompletionSource1Ctor, null);
            return new TaskCompletionSource<TResult>(creationOptions);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource`1", ".ctor")]
        public static TaskCompletionSource<TResult> Ctor<TResult>(object? state, TaskCreationOptions creationOptions)
        {
            Report.Before(ApiTable.TaskCompletionSource1Ctor, null);
            return new TaskCompletionSource<TResult>(state, creationOptions);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource`1", "SetResult")]
        public static void SetResult<TResult>(TaskCompletionSource<TResult> source, TResult result)
        {
            Report.Before(ApiTable.TaskCompletionSource1SetResult, TaskSubjects.TaskOf(source));
            source.SetResult(result);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource`1", "TrySetResult")]
        public static bool TrySetResult<TResult>(TaskCompletionSource<TResult> source, TResult result)
        {
            Report.Before(ApiTable.TaskCompletionSource1TrySetResult, TaskSubjects.TaskOf(source));
            return source.TrySetResult(result);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource`1", "SetException")]
        public static void SetException<TResult>(TaskCompletionSource<TResult> source, Exception exception)
        {
            Report.Before(ApiTable.TaskCompletionSource1SetException, TaskSubjects.TaskOf(source));
            source.SetException(exception);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource`1", "SetException")]
        public static void SetException<TResult>(TaskCompletionSource<TResult> source, IEnumerable<Exception> exceptions)
        {
            Report.Before(ApiTable.TaskCompletionSource1SetException, TaskSubjects.TaskOf(source));
            source.SetException(exceptions);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource`1", "TrySetException")]
        public static bool TrySetException<TResult>(TaskCompletionSource<TResult> source, Exception exception)
        {
            Report.Before(ApiTable.TaskCompletionSource1TrySetException, TaskSubjects.TaskOf(source));
            return source.TrySetException(exception);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource`1", "TrySetException")]
        public static bool TrySetException<TResult>(TaskCompletionSource<TResult> source, IEnumerable<Exception> exceptions)
        {
            Report.Before(ApiTable.TaskCompletionSource1TrySetException, TaskSubjects.TaskOf(source));
            return source.TrySetException(exceptions);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource`1", "SetCanceled")]
        public static void SetCanceled<TResult>(TaskCompletionSource<TResult> source)
        {
            Report.Before(ApiTable.TaskCompletionSource1SetCanceled, TaskSubjects.TaskOf(source));
            source.SetCanceled();
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource`1", "SetCanceled")]
        public static void SetCanceled<TResult>(TaskCompletionSource<TResult> source, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskCompletionSource1SetCanceled, TaskSubjects.TaskOf(source));
            source.SetCanceled(cancellationToken);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource`1", "TrySetCanceled")]
        public static bool TrySetCanceled<TResult>(TaskCompletionSource<TResult> source)
        {
            Report.Before(ApiTable.TaskCompletionSource1TrySetCanceled, TaskSubjects.TaskOf(source));
            return source.TrySetCanceled();
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource`1", "TrySetCanceled")]
        public static bool TrySetCanceled<TResult>(TaskCompletionSource<TResult> source, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskCompletionSource1TrySetCanceled, TaskSubjects.TaskOf(source));
            return source.TrySetCanceled(cancellationToken);
        }
    }

    // Replaces calls that name System.Threading.Tasks.TaskCompletionSource through "System.Runtime".
    public static unsafe class TaskCompletionSourceWrapper
    {
        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource", ".ctor")]
        public static TaskCompletionSource Ctor()
        {
            Report.Before(ApiTable.TaskCompletionSourceCtor, null);
            return new TaskCompletionSource();
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource", ".ctor")]
        public static TaskCompletionSource Ctor(object? state)
        {
            Report.Before(ApiTable.TaskCompletionSourceCtor, null);
            return new TaskCompletionSource(state);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource", ".ctor")]
        public static TaskCompletionSource Ctor(TaskCreationOptions creationOptions)
        {
            Report.Before(ApiTable.TaskCompletionSourceCtor, null);
            return new TaskCompletionSource(creationOptions);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource", ".ctor")]
        public static TaskCompletionSource Ctor(object? state, TaskCreationOptions creationOptions)
        {
            Report.Before(ApiTable.TaskCompletionSourceCtor, null);
            return new TaskCompletionSource(state, creationOptions);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource", "SetResult")]
        public static void SetResult(TaskCompletionSource source)
        {
            Report.Before(ApiTable.TaskCompletionSourceSetResult, TaskSubjects.TaskOf(source));
            source.SetResult();
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource", "TrySetResult")]
        public static bool TrySetResult(TaskCompletionSource source)
        {
            Report.Before(ApiTable.TaskCompletionSourceTrySetResult, TaskSubjects.TaskOf(source));
            return source.TrySetResult();
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource", "SetException")]
        public static void SetException(TaskCompletionSource source, Exception exception)
        {
            Report.Before(ApiTable.TaskCompletionSourceSetException, TaskSubjects.TaskOf(source));
            source.SetException(exception);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource", "SetException")]
        public static void SetException(TaskCompletionSource source, IEnumerable<Exception> exceptions)
        {
            Report.Before(ApiTable.TaskCompletionSourceSetException, TaskSubjects.TaskOf(source));
            source.SetException(exceptions);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource", "TrySetException")]
        public static bool TrySetException(TaskCompletionSource source, Exception exception)
        {
            Report.Before(ApiTable.TaskCompletionSourceTrySetException, TaskSubjects.TaskOf(source));
            return source.TrySetException(exception);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource", "TrySetException")]
        public static bool TrySetException(TaskCompletionSource source, IEnumerable<Exception> exceptions)
        {
            Report.Before(ApiTable.TaskCompletionSourceTrySetException, TaskSubjects.TaskOf(source));
            return source.TrySetException(exceptions);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource", "SetCanceled")]
        public static void SetCanceled(TaskCompletionSource source)
        {
            Report.Before(ApiTable.TaskCompletionSourceSetCanceled, TaskSubjects.TaskOf(source));
            source.SetCanceled();
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource", "SetCanceled")]
        public static void SetCanceled(TaskCompletionSource source, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskCompletionSourceSetCanceled, TaskSubjects.TaskOf(source));
            source.SetCanceled(cancellationToken);
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource", "TrySetCanceled")]
        public static bool TrySetCanceled(TaskCompletionSource source)
        {
            Report.Before(ApiTable.TaskCompletionSourceTrySetCanceled, TaskSubjects.TaskOf(source));
            return source.TrySetCanceled();
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.TaskCompletionSource", "TrySetCanceled")]
        public static bool TrySetCanceled(TaskCompletionSource source, CancellationToken cancellationToken)
        {
            Report.Before(ApiTable.TaskCompletionSourceTrySetCanceled, TaskSubjects.TaskOf(source));
            return source.TrySetCanceled(cancellationToken);
        }
    }

    // Replaces calls that name System.Threading.Tasks.ValueTask`1 through "System.Runtime".
    public static unsafe class ValueTask1Wrapper
    {
        [Replacement("System.Runtime", "System.Threading.Tasks.ValueTask`1", "get_Result")]
        public static TResult get_Result<TResult>(ref ValueTask<TResult> valueTask)
        {
            Report.Before(ApiTable.ValueTask1GetResult, null);
            TResult result = valueTask.Result;
            Report.After(ApiTable.ValueTask1GetResult, null);
            return result;
        }

        [Replacement("System.Runtime", "System.Threading.Tasks.ValueTask`1", "AsTask")]
        public static Task<TResult> AsTask<TResult>(ref ValueTask<TResult> valueTask)
        {
            Report.Before(ApiTable.ValueTask1AsTask, null);
            return valueTask.AsTask();
        }
    }

    // Replaces calls that name System.Threading.Tasks.ValueTask through "System.Runtime".
    public static unsafe class ValueTaskWrapper
    {
        [Replacement("System.Runtime", "System.Threading.Tasks.ValueTask", "AsTask")]
        public static Task AsTask(ref ValueTask valueTask)
        {
            Report.Before(ApiTable.ValueTaskAsTask, null);
            return valueTask.AsTask();
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.TaskAwaiter through "System.Runtime".
    public static unsafe class TaskAwaiterWrapper
    {
        [Replacement("System.Runtime", "System.Runtime.CompilerServices.TaskAwaiter", "GetResult")]
        public static void GetResult(ref TaskAwaiter awaiter)
        {
            Report.Before(ApiTable.TaskAwaiterGetResult, TaskSubjects.TaskOf(ref awaiter));
            awaiter.GetResult();
            Report.After(ApiTable.TaskAwaiterGetResult, TaskSubjects.TaskOf(ref awaiter));
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.TaskAwaiter", "OnCompleted")]
        public static void OnCompleted(ref TaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.TaskAwaiterOnCompleted, TaskSubjects.TaskOf(ref awaiter));
            awaiter.OnCompleted(continuation);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.TaskAwaiter", "UnsafeOnCompleted")]
        public static void UnsafeOnCompleted(ref TaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.TaskAwaiterUnsafeOnCompleted, TaskSubjects.TaskOf(ref awaiter));
            awaiter.UnsafeOnCompleted(continuation);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.TaskAwaiter`1 through "System.Runtime".
    public static unsafe class TaskAwaiter1Wrapper
    {
        [Replacement("System.Runtime", "System.Runtime.CompilerServices.TaskAwaiter`1", "GetResult")]
        public static TResult GetResult<TResult>(ref TaskAwaiter<TResult> awaiter)
        {
            Report.Before(ApiTable.TaskAwaiter1GetResult, TaskSubjects.TaskOf(ref awaiter));
            TResult result = awaiter.GetResult();
            Report.After(ApiTable.TaskAwaiter1GetResult, TaskSubjects.TaskOf(ref awaiter));
            return result;
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.TaskAwaiter`1", "OnCompleted")]
        public static void OnCompleted<TResult>(ref TaskAwaiter<TResult> awaiter, Action continuation)
        {
            Report.Before(ApiTable.TaskAwaiter1OnCompleted, TaskSubjects.TaskOf(ref awaiter));
            awaiter.OnCompleted(continuation);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.TaskAwaiter`1", "UnsafeOnCompleted")]
        public static void UnsafeOnCompleted<TResult>(ref TaskAwaiter<TResult> awaiter, Action continuation)
        {
            Report.Before(ApiTable.TaskAwaiter1UnsafeOnCompleted, TaskSubjects.TaskOf(ref awaiter));
            awaiter.UnsafeOnCompleted(continuation);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.ConfiguredTaskAwaitable+ConfiguredTaskAwaiter through "System.Runtime".
    public static unsafe class ConfiguredTaskAwaitableConfiguredTaskAwaiterWrapper
    {
        [Replacement("System.Runtime", "System.Runtime.CompilerServices.ConfiguredTaskAwaitable+ConfiguredTaskAwaiter", "GetResult")]
        public static void GetResult(ref ConfiguredTaskAwaitable.ConfiguredTaskAwaiter awaiter)
        {
            Report.Before(ApiTable.ConfiguredTaskAwaitableConfiguredTaskAwaiterGetResult, TaskSubjects.TaskOf(ref awaiter));
            awaiter.GetResult();
            Report.After(ApiTable.ConfiguredTaskAwaitableConfiguredTaskAwaiterGetResult, TaskSubjects.TaskOf(ref awaiter));
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.ConfiguredTaskAwaitable+ConfiguredTaskAwaiter", "OnCompleted")]
        public static void OnCompleted(ref ConfiguredTaskAwaitable.ConfiguredTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ConfiguredTaskAwaitableConfiguredTaskAwaiterOnCompleted, TaskSubjects.TaskOf(ref awaiter));
            awaiter.OnCompleted(continuation);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.ConfiguredTaskAwaitable+ConfiguredTaskAwaiter", "UnsafeOnCompleted")]
        public static void UnsafeOnCompleted(ref ConfiguredTaskAwaitable.ConfiguredTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ConfiguredTaskAwaitableConfiguredTaskAwaiterUnsafeOnCompleted, TaskSubjects.TaskOf(ref awaiter));
            awaiter.UnsafeOnCompleted(continuation);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter through "System.Runtime".
    public static unsafe class ConfiguredTaskAwaitable1ConfiguredTaskAwaiterWrapper
    {
        [Replacement("System.Runtime", "System.Runtime.CompilerServices.ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter", "GetResult")]
        public static TResult GetResult<TResult>(ref ConfiguredTaskAwaitable<TResult>.ConfiguredTaskAwaiter awaiter)
        {
            Report.Before(ApiTable.ConfiguredTaskAwaitable1ConfiguredTaskAwaiterGetResult, TaskSubjects.TaskOf(ref awaiter));
            TResult result = awaiter.GetResult();
            Report.After(ApiTable.ConfiguredTaskAwaitable1ConfiguredTaskAwaiterGetResult, TaskSubjects.TaskOf(ref awaiter));
            return result;
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter", "OnCompleted")]
        public static void OnCompleted<TResult>(ref ConfiguredTaskAwaitable<TResult>.ConfiguredTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ConfiguredTaskAwaitable1ConfiguredTaskAwaiterOnCompleted, TaskSubjects.TaskOf(ref awaiter));
            awaiter.OnCompleted(continuation);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter", "UnsafeOnCompleted")]
        public static void UnsafeOnCompleted<TResult>(ref ConfiguredTaskAwaitable<TResult>.ConfiguredTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ConfiguredTaskAwaitable1ConfiguredTaskAwaiterUnsafeOnCompleted, TaskSubjects.TaskOf(ref awaiter));
            awaiter.UnsafeOnCompleted(continuation);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.ValueTaskAwaiter through "System.Runtime".
    public static unsafe class ValueTaskAwaiterWrapper
    {
        [Replacement("System.Runtime", "System.Runtime.CompilerServices.ValueTaskAwaiter", "GetResult")]
        public static void GetResult(ref ValueTaskAwaiter awaiter)
        {
            Report.Before(ApiTable.ValueTaskAwaiterGetResult, null);
            awaiter.GetResult();
            Report.After(ApiTable.ValueTaskAwaiterGetResult, null);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.ValueTaskAwaiter", "OnCompleted")]
        public static void OnCompleted(ref ValueTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ValueTaskAwaiterOnCompleted, null);
            awaiter.OnCompleted(continuation);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.ValueTaskAwaiter", "UnsafeOnCompleted")]
        public static void UnsafeOnCompleted(ref ValueTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ValueTaskAwaiterUnsafeOnCompleted, null);
            awaiter.UnsafeOnCompleted(continuation);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.ValueTaskAwaiter`1 through "System.Runtime".
    public static unsafe class ValueTaskAwaiter1Wrapper
    {
        [Replacement("System.Runtime", "System.Runtime.CompilerServices.ValueTaskAwaiter`1", "GetResult")]
        public static TResult GetResult<TResult>(ref ValueTaskAwaiter<TResult> awaiter)
        {
            Report.Before(ApiTable.ValueTaskAwaiter1GetResult, null);
            TResult result = awaiter.GetResult();
            Report.After(ApiTable.ValueTaskAwaiter1GetResult, null);
            return result;
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.ValueTaskAwaiter`1", "OnCompleted")]
        public static void OnCompleted<TResult>(ref ValueTaskAwaiter<TResult> awaiter, Action continuation)
        {
            Report.Before(ApiTable.ValueTaskAwaiter1OnCompleted, null);
            awaiter.OnCompleted(continuation);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.ValueTaskAwaiter`1", "UnsafeOnCompleted")]
        public static void UnsafeOnCompleted<TResult>(ref ValueTaskAwaiter<TResult> awaiter, Action continuation)
        {
            Report.Before(ApiTable.ValueTaskAwaiter1UnsafeOnCompleted, null);
            awaiter.UnsafeOnCompleted(continuation);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable+ConfiguredValueTaskAwaiter through "System.Runtime".
    public static unsafe class ConfiguredValueTaskAwaitableConfiguredValueTaskAwaiterWrapper
    {
        [Replacement("System.Runtime", "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable+ConfiguredValueTaskAwaiter", "GetResult")]
        public static void GetResult(ref ConfiguredValueTaskAwaitable.ConfiguredValueTaskAwaiter awaiter)
        {
            Report.Before(ApiTable.ConfiguredValueTaskAwaitableConfiguredValueTaskAwaiterGetResult, null);
            awaiter.GetResult();
            Report.After(ApiTable.ConfiguredValueTaskAwaitableConfiguredValueTaskAwaiterGetResult, null);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable+ConfiguredValueTaskAwaiter", "OnCompleted")]
        public static void OnCompleted(ref ConfiguredValueTaskAwaitable.ConfiguredValueTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ConfiguredValueTaskAwaitableConfiguredValueTaskAwaiterOnCompleted, null);
            awaiter.OnCompleted(continuation);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable+ConfiguredValueTaskAwaiter", "UnsafeOnCompleted")]
        public static void UnsafeOnCompleted(ref ConfiguredValueTaskAwaitable.ConfiguredValueTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ConfiguredValueTaskAwaitableConfiguredValueTaskAwaiterUnsafeOnCompleted, null);
            awaiter.UnsafeOnCompleted(continuation);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable`1+ConfiguredValueTaskAwaiter through "System.Runtime".
    public static unsafe class ConfiguredValueTaskAwaitable1ConfiguredValueTaskAwaiterWrapper
    {
        [Replacement("System.Runtime", "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable`1+ConfiguredValueTaskAwaiter", "GetResult")]
        public static TResult GetResult<TResult>(ref ConfiguredValueTaskAwaitable<TResult>.ConfiguredValueTaskAwaiter awaiter)
        {
            Report.Before(ApiTable.ConfiguredValueTaskAwaitable1ConfiguredValueTaskAwaiterGetResult, null);
            TResult result = awaiter.GetResult();
            Report.After(ApiTable.ConfiguredValueTaskAwaitable1ConfiguredValueTaskAwaiterGetResult, null);
            return result;
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable`1+ConfiguredValueTaskAwaiter", "OnCompleted")]
        public static void OnCompleted<TResult>(ref ConfiguredValueTaskAwaitable<TResult>.ConfiguredValueTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ConfiguredValueTaskAwaitable1ConfiguredValueTaskAwaiterOnCompleted, null);
            awaiter.OnCompleted(continuation);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable`1+ConfiguredValueTaskAwaiter", "UnsafeOnCompleted")]
        public static void UnsafeOnCompleted<TResult>(ref ConfiguredValueTaskAwaitable<TResult>.ConfiguredValueTaskAwaiter awaiter, Action continuation)
        {
            Report.Before(ApiTable.ConfiguredValueTaskAwaitable1ConfiguredValueTaskAwaiterUnsafeOnCompleted, null);
            awaiter.UnsafeOnCompleted(continuation);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.AsyncTaskMethodBuilder through "System.Runtime".
    public static unsafe class AsyncTaskMethodBuilderWrapper
    {
        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncTaskMethodBuilder", "Start")]
        public static void Start<TStateMachine>(ref AsyncTaskMethodBuilder builder, ref TStateMachine stateMachine) where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncTaskMethodBuilderStart, TaskSubjects.TaskOf(ref builder));
            builder.Start<TStateMachine>(ref stateMachine);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncTaskMethodBuilder", "AwaitOnCompleted")]
        public static void AwaitOnCompleted<TAwaiter, TStateMachine>(ref AsyncTaskMethodBuilder builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : INotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncTaskMethodBuilderAwaitOnCompleted, TaskSubjects.TaskOf(ref builder));
            builder.AwaitOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncTaskMethodBuilder", "AwaitUnsafeOnCompleted")]
        public static void AwaitUnsafeOnCompleted<TAwaiter, TStateMachine>(ref AsyncTaskMethodBuilder builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : ICriticalNotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncTaskMethodBuilderAwaitUnsafeOnCompleted, TaskSubjects.TaskOf(ref builder));
            builder.AwaitUnsafeOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncTaskMethodBuilder", "SetResult")]
        public static void SetResult(ref AsyncTaskMethodBuilder builder)
        {
            Report.Before(ApiTable.AsyncTaskMethodBuilderSetResult, TaskSubjects.TaskOf(ref builder));
            builder.SetResult();
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncTaskMethodBuilder", "SetException")]
        public static void SetException(ref AsyncTaskMethodBuilder builder, Exception exception)
        {
            Report.Before(ApiTable.AsyncTaskMethodBuilderSetException, TaskSubjects.TaskOf(ref builder));
            builder.SetException(exception);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1 through "System.Runtime".
    public static unsafe class AsyncTaskMethodBuilder1Wrapper
    {
        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1", "Start")]
        public static void Start<TResult, TStateMachine>(ref AsyncTaskMethodBuilder<TResult> builder, ref TStateMachine stateMachine) where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncTaskMethodBuilder1Start, TaskSubjects.TaskOf(ref builder));
            builder.Start<TStateMachine>(ref stateMachine);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1", "AwaitOnCompleted")]
        public static void AwaitOnCompleted<TResult, TAwaiter, TStateMachine>(ref AsyncTaskMethodBuilder<TResult> builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : INotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncTaskMethodBuilder1AwaitOnCompleted, TaskSubjects.TaskOf(ref builder));
            builder.AwaitOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1", "AwaitUnsafeOnCompleted")]
        public static void AwaitUnsafeOnCompleted<TResult, TAwaiter, TStateMachine>(ref AsyncTaskMethodBuilder<TResult> builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : ICriticalNotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncTaskMethodBuilder1AwaitUnsafeOnCompleted, TaskSubjects.TaskOf(ref builder));
            builder.AwaitUnsafeOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1", "SetResult")]
        public static void SetResult<TResult>(ref AsyncTaskMethodBuilder<TResult> builder, TResult result)
        {
            Report.Before(ApiTable.AsyncTaskMethodBuilder1SetResult, TaskSubjects.TaskOf(ref builder));
            builder.SetResult(result);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1", "SetException")]
        public static void SetException<TResult>(ref AsyncTaskMethodBuilder<TResult> builder, Exception exception)
        {
            Report.Before(ApiTable.AsyncTaskMethodBuilder1SetException, TaskSubjects.TaskOf(ref builder));
            builder.SetException(exception);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder through "System.Runtime".
    public static unsafe class AsyncValueTaskMethodBuilderWrapper
    {
        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder", "Start")]
        public static void Start<TStateMachine>(ref AsyncValueTaskMethodBuilder builder, ref TStateMachine stateMachine) where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilderStart, null);
            builder.Start<TStateMachine>(ref stateMachine);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder", "AwaitOnCompleted")]
        public static void AwaitOnCompleted<TAwaiter, TStateMachine>(ref AsyncValueTaskMethodBuilder builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : INotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilderAwaitOnCompleted, null);
            builder.AwaitOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder", "AwaitUnsafeOnCompleted")]
        public static void AwaitUnsafeOnCompleted<TAwaiter, TStateMachine>(ref AsyncValueTaskMethodBuilder builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : ICriticalNotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilderAwaitUnsafeOnCompleted, null);
            builder.AwaitUnsafeOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder", "SetResult")]
        public static void SetResult(ref AsyncValueTaskMethodBuilder builder)
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilderSetResult, null);
            builder.SetResult();
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder", "SetException")]
        public static void SetException(ref AsyncValueTaskMethodBuilder builder, Exception exception)
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilderSetException, null);
            builder.SetException(exception);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1 through "System.Runtime".
    public static unsafe class AsyncValueTaskMethodBuilder1Wrapper
    {
        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1", "Start")]
        public static void Start<TResult, TStateMachine>(ref AsyncValueTaskMethodBuilder<TResult> builder, ref TStateMachine stateMachine) where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilder1Start, null);
            builder.Start<TStateMachine>(ref stateMachine);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1", "AwaitOnCompleted")]
        public static void AwaitOnCompleted<TResult, TAwaiter, TStateMachine>(ref AsyncValueTaskMethodBuilder<TResult> builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : INotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilder1AwaitOnCompleted, null);
            builder.AwaitOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1", "AwaitUnsafeOnCompleted")]
        public static void AwaitUnsafeOnCompleted<TResult, TAwaiter, TStateMachine>(ref AsyncValueTaskMethodBuilder<TResult> builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : ICriticalNotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilder1AwaitUnsafeOnCompleted, null);
            builder.AwaitUnsafeOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1", "SetResult")]
        public static void SetResult<TResult>(ref AsyncValueTaskMethodBuilder<TResult> builder, TResult result)
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilder1SetResult, null);
            builder.SetResult(result);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1", "SetException")]
        public static void SetException<TResult>(ref AsyncValueTaskMethodBuilder<TResult> builder, Exception exception)
        {
            Report.Before(ApiTable.AsyncValueTaskMethodBuilder1SetException, null);
            builder.SetException(exception);
        }
    }

    // Replaces calls that name System.Runtime.CompilerServices.AsyncVoidMethodBuilder through "System.Runtime".
    public static unsafe class AsyncVoidMethodBuilderWrapper
    {
        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncVoidMethodBuilder", "Start")]
        public static void Start<TStateMachine>(ref AsyncVoidMethodBuilder builder, ref TStateMachine stateMachine) where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncVoidMethodBuilderStart, null);
            builder.Start<TStateMachine>(ref stateMachine);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncVoidMethodBuilder", "AwaitOnCompleted")]
        public static void AwaitOnCompleted<TAwaiter, TStateMachine>(ref AsyncVoidMethodBuilder builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : INotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncVoidMethodBuilderAwaitOnCompleted, null);
            builder.AwaitOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncVoidMethodBuilder", "AwaitUnsafeOnCompleted")]
        public static void AwaitUnsafeOnCompleted<TAwaiter, TStateMachine>(ref AsyncVoidMethodBuilder builder, ref TAwaiter awaiter, ref TStateMachine stateMachine) where TAwaiter : ICriticalNotifyCompletion where TStateMachine : IAsyncStateMachine
        {
            Report.Before(ApiTable.AsyncVoidMethodBuilderAwaitUnsafeOnCompleted, null);
            builder.AwaitUnsafeOnCompleted<TAwaiter, TStateMachine>(ref awaiter, ref stateMachine);
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncVoidMethodBuilder", "SetResult")]
        public static void SetResult(ref AsyncVoidMethodBuilder builder)
        {
            Report.Before(ApiTable.AsyncVoidMethodBuilderSetResult, null);
            builder.SetResult();
        }

        [Replacement("System.Runtime", "System.Runtime.CompilerServices.AsyncVoidMethodBuilder", "SetException")]
        public static void SetException(ref AsyncVoidMethodBuilder builder, Exception exception)
        {
            Report.Before(ApiTable.AsyncVoidMethodBuilderSetException, null);
            builder.SetException(exception);
        }
    }
}
