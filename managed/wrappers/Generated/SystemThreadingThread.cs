// Written by generate.py from its table; edit the table and rerun it.

using System;
using System.Threading;
using veskmrte_1_0;

namespace Veskmrte.Wrappers.SystemThreadingThread
{
    // Replaces calls that name System.Threading.Thread through "System.Threading.Thread".
    public static class ThreadWrapper
    {
        [Replacement("System.Threading.Thread", "System.Threading.Thread", ".ctor")]
        public static Thread Ctor(ThreadStart start)
        {
            Report.Before(ApiTable.ThreadCtor, null);
            return new Thread(start);
        }

        [Replacement("System.Threading.Thread", "System.Threading.Thread", ".ctor")]
        public static Thread Ctor(ThreadStart start, int maxStackSize)
        {
            Report.Before(ApiTable.ThreadCtor, null);
            return new Thread(start, maxStackSize);
        }

        [Replacement("System.Threading.Thread", "System.Threading.Thread", ".ctor")]
        public static Thread Ctor(ParameterizedThreadStart start)
        {
            Report.Before(ApiTable.ThreadCtor, null);
            return new Thread(start);
        }

        [Replacement("System.Threading.Thread", "System.Threading.Thread", ".ctor")]
        public static Thread Ctor(ParameterizedThreadStart start, int maxStackSize)
        {
            Report.Before(ApiTable.ThreadCtor, null);
            return new Thread(start, maxStackSize);
        }

        [Replacement("System.Threading.Thread", "System.Threading.Thread", "Start")]
        public static void Start(Thread thread)
        {
            Report.Before(ApiTable.ThreadStart, thread);
            thread.Start();
        }

        [Replacement("System.Threading.Thread", "System.Threading.Thread", "Start")]
        public static void Start(Thread thread, object? parameter)
        {
            Report.Before(ApiTable.ThreadStart, thread);
            thread.Start(parameter);
        }

        [Replacement("System.Threading.Thread", "System.Threading.Thread", "Join")]
        public static void Join(Thread thread)
        {
            Report.Before(ApiTable.ThreadJoin, thread);
            thread.Join();
            Report.After(ApiTable.ThreadJoin, thread);
        }

        [Replacement("System.Threading.Thread", "System.Threading.Thread", "Join")]
        public static bool Join(Thread thread, int millisecondsTimeout)
        {
            Report.Before(ApiTable.ThreadJoin, thread);
            bool result = thread.Join(millisecondsTimeout);
            Report.After(ApiTable.ThreadJoin, thread);
            return result;
        }

        [Replacement("System.Threading.Thread", "System.Threading.Thread", "Join")]
        public static bool Join(Thread thread, TimeSpan timeout)
        {
            Report.Before(ApiTable.ThreadJoin, thread);
            bool result = thread.Join(timeout);
            Report.After(ApiTable.ThreadJoin, thread);
            return result;
        }
    }
}
