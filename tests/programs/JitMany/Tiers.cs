using System.Runtime.CompilerServices;
using System.Threading;

namespace JitMany
{
    // Code the runtime compiles more than once.
    internal static class Tiers
    {
        // Called often enough, with pauses for the background compiler, to
        // be promoted from the first tier to the optimised one.
        [MethodImpl(MethodImplOptions.NoInlining)]
        public static int Hot(int x)
        {
            int y = x ^ (x >> 3);
            return y * 7 + (y & 15);
        }

        public static long RunHot(int rounds)
        {
            long sum = 0;
            for (int round = 0; round < rounds; round++)
            {
                for (int i = 0; i < 1000; i++) sum += Hot(i);
                Thread.Sleep(10);
            }
            return sum;
        }

        // Entered once and kept busy in its loop: the runtime replaces the
        // running first-tier code with an on-stack-replacement body.
        [MethodImpl(MethodImplOptions.NoInlining)]
        public static long RunLoop(int iterations)
        {
            long sum = 0;
            for (int i = 0; i < iterations; i++) sum += (i % 7) * (i & 3);
            return sum;
        }
    }
}
