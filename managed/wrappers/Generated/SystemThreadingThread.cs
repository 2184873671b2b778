// Written by generate.py from its table; edit the table and rerun it.

using System;
using System.Collections.Generic;
using System.Runtime.CompilerServices;
using System.Threading;
using System.Threading.Tasks;
using veskmrte_1_0;

namespace Veskmrte.Wrappers.SystemThreadingThread
{
    // Replaces calls that name System.Threading.Thread through "System.Threading.Thread".
    public static unsafe class ThreadWrapper
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

        [Replacement("System.Threading.Thread", "System.Threading.Thread", "Sleep")]
        public static void Sleep(int millisecondsTimeout)
        {
            Report.Before(ApiTable.ThreadSleep, null);
            Thread.Sleep(millisecondsTimeout);
            Report.After(ApiTable.ThreadSleep, null);
        }

        [Replacement("System.Threading.Thread", "System.Threading.Thread", "Sleep")]
        public static void Sleep(TimeSpan timeout)
        {
            Report.Before(ApiTable.ThreadSleep, null);
            Thread.Sleep(timeout);
            Report.After(ApiTable.ThreadSleep, null);
        }

        [Replacement("System.Threading.Thread", "System.Threading.Thread", "Interrupt")]
        public static void Interrupt(Thread thread)
        {
            Report.Before(ApiTable.ThreadInterrupt, thread);
            thread.Interrupt();
        }

        [Replacement("System.Threading.Thread", "System.Threading.Thread", "UnsafeStart")]
        public static void UnsafeStart(Thread thread)
        {
            Report.Before(ApiTable.ThreadUnsafeStart, thread);
            thread.UnsafeStart();
        }

        [Replacement("System.Threading.Thread", "System.Threading.Thread", "UnsafeStart")]
        public static void UnsafeStart(Thread thread, object? parameter)
        {
            Report.Before(ApiTable.ThreadUnsafeStart, thread);
            thread.UnsafeStart(parameter);
        }

        [Replacement("System.Threading.Thread", "System.Threading.Thread", "Yield")]
        public static bool Yield()
        {
            Report.Before(ApiTable.ThreadYield, null);
            return Thread.Yield();
        }
    }
}
