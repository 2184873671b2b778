// Written by generate.py from its table; edit the table and rerun it.

using System;
using System.Collections.Generic;
using System.Runtime.CompilerServices;
using System.Threading;
using System.Threading.Tasks;
using veskmrte_1_0;

namespace Veskmrte.Wrappers.SystemThreadingThreadPool
{
    // Replaces calls that name System.Threading.ThreadPool through "System.Threading.ThreadPool".
    public static unsafe class ThreadPoolWrapper
    {
        [Replacement("System.Threading.ThreadPool", "System.Threading.ThreadPool", "QueueUserWorkItem")]
        public static bool QueueUserWorkItem(WaitCallback callBack)
        {
            Report.Before(ApiTable.ThreadPoolQueueUserWorkItem, null);
            return ThreadPool.QueueUserWorkItem(callBack);
        }

        [Replacement("System.Threading.ThreadPool", "System.Threading.ThreadPool", "QueueUserWorkItem")]
        public static bool QueueUserWorkItem(WaitCallback callBack, object? state)
        {
            Report.Before(ApiTable.ThreadPoolQueueUserWorkItem, null);
            return ThreadPool.QueueUserWorkItem(callBack, state);
        }

        [Replacement("System.Threading.ThreadPool", "System.Threading.ThreadPool", "QueueUserWorkItem")]
        public static bool QueueUserWorkItem<TState>(Action<TState> callBack, TState state, bool preferLocal)
        {
            Report.Before(ApiTable.ThreadPoolQueueUserWorkItem, null);
            return ThreadPool.QueueUserWorkItem<TState>(callBack, state, preferLocal);
        }

        [Replacement("System.Threading.ThreadPool", "System.Threading.ThreadPool", "UnsafeQueueUserWorkItem")]
        public static bool UnsafeQueueUserWorkItem(WaitCallback callBack, object? state)
        {
            Report.Before(ApiTable.ThreadPoolUnsafeQueueUserWorkItem, null);
            return ThreadPool.UnsafeQueueUserWorkItem(callBack, state);
        }

        [Replacement("System.Threading.ThreadPool", "System.Threading.ThreadPool", "UnsafeQueueUserWorkItem")]
        public static bool UnsafeQueueUserWorkItem(IThreadPoolWorkItem callBack, bool preferLocal)
        {
            Report.Before(ApiTable.ThreadPoolUnsafeQueueUserWorkItem, null);
            return ThreadPool.UnsafeQueueUserWorkItem(callBack, preferLocal);
        }

        [Replacement("System.Threading.ThreadPool", "System.Threading.ThreadPool", "UnsafeQueueUserWorkItem")]
        public static bool UnsafeQueueUserWorkItem<TState>(Action<TState> callBack, TState state, bool preferLocal)
        {
            Report.Before(ApiTable.ThreadPoolUnsafeQueueUserWorkItem, null);
            return ThreadPool.UnsafeQueueUserWorkItem<TState>(callBack, state, preferLocal);
        }

        [Replacement("System.Threading.ThreadPool", "System.Threading.ThreadPool", "RegisterWaitForSingleObject")]
        public static RegisteredWaitHandle RegisterWaitForSingleObject(WaitHandle waitObject, WaitOrTimerCallback callBack, object? state, int millisecondsTimeOutInterval, bool executeOnlyOnce)
        {
            Report.Before(ApiTable.ThreadPoolRegisterWaitForSingleObject, waitObject);
            return ThreadPool.RegisterWaitForSingleObject(waitObject, callBack, state, millisecondsTimeOutInterval, executeOnlyOnce);
        }

        [Replacement("System.Threading.ThreadPool", "System.Threading.ThreadPool", "RegisterWaitForSingleObject")]
        public static RegisteredWaitHandle RegisterWaitForSingleObject(WaitHandle waitObject, WaitOrTimerCallback callBack, object? state, long millisecondsTimeOutInterval, bool executeOnlyOnce)
        {
            Report.Before(ApiTable.ThreadPoolRegisterWaitForSingleObject, waitObject);
            return ThreadPool.RegisterWaitForSingleObject(waitObject, callBack, state, millisecondsTimeOutInterval, executeOnlyOnce);
        }

        [Replacement("System.Threading.ThreadPool", "System.Threading.ThreadPool", "RegisterWaitForSingleObject")]
        public static RegisteredWaitHandle RegisterWaitForSingleObject(WaitHandle waitObject, WaitOrTimerCallback callBack, object? state, uint millisecondsTimeOutInterval, bool executeOnlyOnce)
        {
            Report.Before(ApiTable.ThreadPoolRegisterWaitForSingleObject, waitObject);
            return ThreadPool.RegisterWaitForSingleObject(waitObject, callBack, state, millisecondsTimeOutInterval, executeOnlyOnce);
        }

        [Replacement("System.Threading.ThreadPool", "System.Threading.ThreadPool", "RegisterWaitForSingleObject")]
        public static RegisteredWaitHandle RegisterWaitForSingleObject(WaitHandle waitObject, WaitOrTimerCallback callBack, object? state, TimeSpan timeout, bool executeOnlyOnce)
        {
            Report.Before(ApiTable.ThreadPoolRegisterWaitForSingleObject, waitObject);
            return ThreadPool.RegisterWaitForSingleObject(waitObject, callBack, state, timeout, executeOnlyOnce);
        }
    }
}
