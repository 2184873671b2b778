using System;
using System.Collections.Generic;

namespace Veskmrte.Coverage
{
    // The synchronisation types whose call sites are counted, and their
    // members that are left to the original on purpose, with the reason.
    internal static class Scope
    {
        public static readonly HashSet<string> Types = new(StringComparer.Ordinal)
        {
            "System.Threading.Monitor", "System.Threading.Lock", "System.Threading.Lock+Scope",
            "System.Threading.ReaderWriterLockSlim", "System.Threading.ReaderWriterLock",
            "System.Threading.ManualResetEventSlim", "System.Threading.SemaphoreSlim", "System.Threading.Semaphore",
            "System.Threading.AutoResetEvent", "System.Threading.ManualResetEvent", "System.Threading.EventWaitHandle",
            "System.Threading.WaitHandle", "System.Threading.Mutex", "System.Threading.CountdownEvent",
            "System.Threading.Barrier", "System.Threading.SpinLock", "System.Threading.Interlocked",
            "System.Threading.Volatile", "System.Threading.Thread", "System.Threading.ThreadPool",
            "System.Threading.Timer", "System.Threading.CancellationTokenSource",
            "System.Threading.Tasks.Task", "System.Threading.Tasks.Task`1", "System.Threading.Tasks.TaskFactory",
            "System.Threading.Tasks.TaskFactory`1", "System.Threading.Tasks.TaskCompletionSource",
            "System.Threading.Tasks.TaskCompletionSource`1", "System.Threading.Tasks.ValueTask",
            "System.Threading.Tasks.ValueTask`1", "System.Threading.Tasks.Parallel",
            "System.Runtime.CompilerServices.TaskAwaiter", "System.Runtime.CompilerServices.TaskAwaiter`1",
            "System.Runtime.CompilerServices.ConfiguredTaskAwaitable+ConfiguredTaskAwaiter",
            "System.Runtime.CompilerServices.ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter",
            "System.Runtime.CompilerServices.ValueTaskAwaiter", "System.Runtime.CompilerServices.ValueTaskAwaiter`1",
            "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable+ConfiguredValueTaskAwaiter",
            "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable`1+ConfiguredValueTaskAwaiter",
            "System.Runtime.CompilerServices.AsyncTaskMethodBuilder",
            "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1",
            "System.Runtime.CompilerServices.AsyncVoidMethodBuilder",
            "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder",
            "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1",
        };

        // Members that are no synchronisation event: reading state, naming
        // or configuring an object, creating an awaiter or an already
        // completed task, giving resources back.
        public static string? UnwrappedByDesign(string type, string member)
        {
            if (member is "get_Result") return null;
            if (member.StartsWith("get_", StringComparison.Ordinal) || member is "IsEntered") return "reads state";
            if (member is ".ctor" && type.StartsWith("System.Threading.Tasks.ValueTask", StringComparison.Ordinal))
                return "wraps a result, a task or a source; the wait is its awaiter's";
            if (member.StartsWith("set_", StringComparison.Ordinal)) return "configures the object";
            switch (member)
            {
                case "Dispose" when type != "System.Threading.Lock+Scope":
                case "Close":
                case "Unregister":
                    return "gives resources back";
                case "ToString":
                case "GetHashCode":
                case "Equals":
                case "GetType":
                case "op_Equality":
                case "op_Inequality":
                    return "object identity or text";
                case "GetAwaiter":
                case "ConfigureAwait":
                    return "creates an awaiter; the wait is its GetResult";
                case "Create":
                    return "creates a builder; its task is reported where it completes";
                case "FromResult":
                case "FromException":
                case "FromCanceled":
                case "get_CompletedTask":
                    return "creates an already completed task";
                case "SetStateMachine":
                    return "runtime plumbing, no event";
                case "GetApartmentState":
                case "SetApartmentState":
                case "TrySetApartmentState":
                case "GetDomain":
                case "GetDomainID":
                case "GetCurrentProcessorId":
                case "SpinWait":
                case "GetMaxThreads":
                case "GetMinThreads":
                case "SetMaxThreads":
                case "SetMinThreads":
                case "GetAvailableThreads":
                case "BeginThreadAffinity":
                case "EndThreadAffinity":
                case "BeginCriticalRegion":
                case "EndCriticalRegion":
                case "AllocateDataSlot":
                case "AllocateNamedDataSlot":
                case "GetData":
                case "SetData":
                case "GetNamedDataSlot":
                case "FreeNamedDataSlot":
                    return "no hand-over between threads";
            }
            return null;
        }
    }
}
