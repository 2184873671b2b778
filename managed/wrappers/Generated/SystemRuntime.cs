// Written by generate.py from its table; edit the table and rerun it.

using System;
using System.Threading;
using veskmrte_1_0;

namespace Veskmrte.Wrappers.SystemRuntime
{
    // Replaces calls that name System.Threading.WaitHandle through "System.Runtime".
    public static class WaitHandleWrapper
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
}
