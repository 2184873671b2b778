using System;
using System.Threading;

namespace SyncApis
{
    // Every numeric overload, so that a call reaching a wrapper of the wrong
    // width, or one that loses the update of its ref argument, shows in the
    // printed values.
    internal static class AtomicCalls
    {
        // The unsigned, bitwise and native-sized overloads are newer than the
        // runtime of the unsupported-runtime build.
#if NET5_0_OR_GREATER
        private static int s_int;
        private static long s_long;
        private static uint s_uint;
        private static ulong s_ulong;
        private static float s_float;
        private static double s_double;
        private static nint s_nint;
        private static nuint s_nuint;
        private static object? s_object;
        private static bool s_flag;

        public static void Run()
        {
            int i = Interlocked.Increment(ref s_int) + Interlocked.Decrement(ref s_int);
            long l = Interlocked.Increment(ref s_long) + Interlocked.Decrement(ref s_long);
            uint u = Interlocked.Increment(ref s_uint) + Interlocked.Decrement(ref s_uint);
            ulong ul = Interlocked.Increment(ref s_ulong) + Interlocked.Decrement(ref s_ulong);
            Counts.Add("System.Threading.Interlocked.Increment", 4);
            Counts.Add("System.Threading.Interlocked.Decrement", 4);
            i += Interlocked.Add(ref s_int, 40);
            l += Interlocked.Add(ref s_long, 400L);
            u += Interlocked.Add(ref s_uint, 4u);
            ul += Interlocked.Add(ref s_ulong, 4000ul);
            Counts.Add("System.Threading.Interlocked.Add", 4);
            i += Interlocked.Exchange(ref s_int, 7) + Interlocked.CompareExchange(ref s_int, 9, 7);
            l += Interlocked.Exchange(ref s_long, 70L) + Interlocked.CompareExchange(ref s_long, 90L, 70L);
            u += Interlocked.Exchange(ref s_uint, 3u) + Interlocked.CompareExchange(ref s_uint, 5u, 4u);
            ul += Interlocked.Exchange(ref s_ulong, 30ul) + Interlocked.CompareExchange(ref s_ulong, 50ul, 30ul);
            float f = Interlocked.Exchange(ref s_float, 1.5f) + Interlocked.CompareExchange(ref s_float, 2.5f, 1.5f);
            double d = Interlocked.Exchange(ref s_double, 0.25) + Interlocked.CompareExchange(ref s_double, 0.75, 0.5);
            nint n = Interlocked.Exchange(ref s_nint, 11) + Interlocked.CompareExchange(ref s_nint, 12, 11);
            nuint nu = Interlocked.Exchange(ref s_nuint, 21) + Interlocked.CompareExchange(ref s_nuint, 22, 21);
            object? o = Interlocked.Exchange(ref s_object, "first");
            o = Interlocked.CompareExchange(ref s_object, "second", o) ?? o;
            Counts.Add("System.Threading.Interlocked.Exchange", 9);
            Counts.Add("System.Threading.Interlocked.CompareExchange", 9);
            l += Interlocked.Read(ref s_long);
            ul += Interlocked.Read(ref s_ulong);
            Counts.Add("System.Threading.Interlocked.Read", 2);
            i += Interlocked.And(ref s_int, 0xC) + Interlocked.Or(ref s_int, 0x30);
            l += Interlocked.And(ref s_long, 0xC) + Interlocked.Or(ref s_long, 0x30);
            u += Interlocked.And(ref s_uint, 0xCu) + Interlocked.Or(ref s_uint, 0x30u);
            ul += Interlocked.And(ref s_ulong, 0xCul) + Interlocked.Or(ref s_ulong, 0x30ul);
            Counts.Add("System.Threading.Interlocked.And", 4);
            Counts.Add("System.Threading.Interlocked.Or", 4);
            Interlocked.MemoryBarrier();
            Counts.Add("System.Threading.Interlocked.MemoryBarrier");
            Console.WriteLine($"interlocked: {i} {l} {u} {ul} {f} {d} {n} {nu} {o} | {s_int} {s_long} {s_uint} {s_ulong} " +
                              $"{s_float} {s_double} {s_nint} {s_nuint} {s_object}");

            Volatile.Write(ref s_flag, true);
            Volatile.Write(ref s_int, 5);
            Volatile.Write(ref s_long, 6L);
            Volatile.Write(ref s_double, 7.5);
            Volatile.Write(ref s_nint, 8);
            Counts.Add("System.Threading.Volatile.Write", 5);
            bool flag = Volatile.Read(ref s_flag);
            double sum = Volatile.Read(ref s_int) + Volatile.Read(ref s_long) + Volatile.Read(ref s_double) +
                         Volatile.Read(ref s_nint) + Volatile.Read(ref s_uint) + (double)Volatile.Read(ref s_ulong) +
                         Volatile.Read(ref s_float);
            Counts.Add("System.Threading.Volatile.Read", 8);
            Console.WriteLine("volatile: " + flag + " " + sum);
        }
#else
        public static void Run()
        {
        }
#endif
    }
}
