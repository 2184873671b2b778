// Written by generate.py from its table; edit the table and rerun it.

namespace Veskmrte.Wrappers
{
    // Ids passed to Report; each indexes Names.
    internal static class ApiTable
    {
        internal const int MonitorEnter = 0;
        internal const int MonitorTryEnter = 1;
        internal const int MonitorExit = 2;
        internal const int MonitorWait = 3;
        internal const int MonitorPulse = 4;
        internal const int MonitorPulseAll = 5;
        internal const int ThreadCtor = 6;
        internal const int ThreadStart = 7;
        internal const int ThreadJoin = 8;
        internal const int WaitHandleWaitOne = 9;
        internal const int EventWaitHandleSet = 10;
        internal const int EventWaitHandleReset = 11;
        internal const int MutexCtor = 12;
        internal const int MutexReleaseMutex = 13;
        internal const int SemaphoreSlimCtor = 14;
        internal const int SemaphoreSlimWait = 15;
        internal const int SemaphoreSlimRelease = 16;

        internal const int Count = 17;

        internal static readonly string[] Names =
        {
            "System.Threading.Monitor.Enter",
            "System.Threading.Monitor.TryEnter",
            "System.Threading.Monitor.Exit",
            "System.Threading.Monitor.Wait",
            "System.Threading.Monitor.Pulse",
            "System.Threading.Monitor.PulseAll",
            "System.Threading.Thread..ctor",
            "System.Threading.Thread.Start",
            "System.Threading.Thread.Join",
            "System.Threading.WaitHandle.WaitOne",
            "System.Threading.EventWaitHandle.Set",
            "System.Threading.EventWaitHandle.Reset",
            "System.Threading.Mutex..ctor",
            "System.Threading.Mutex.ReleaseMutex",
            "System.Threading.SemaphoreSlim..ctor",
            "System.Threading.SemaphoreSlim.Wait",
            "System.Threading.SemaphoreSlim.Release",
        };
    }
}
