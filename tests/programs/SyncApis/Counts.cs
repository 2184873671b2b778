using System.Collections.Generic;
using System.Text;
using System.Threading;

namespace SyncApis
{
    // The program's own account of the synchronisation calls it makes, kept
    // without taking any lock of its own so that it adds no calls to count.
    internal static class Counts
    {
        private static readonly string[] s_apis =
        {
            "System.Threading.Monitor.Enter", "System.Threading.Monitor.TryEnter", "System.Threading.Monitor.Exit",
            "System.Threading.Monitor.Wait", "System.Threading.Monitor.Pulse", "System.Threading.Monitor.PulseAll",
            "System.Threading.Thread..ctor", "System.Threading.Thread.Start", "System.Threading.Thread.Join",
            "System.Threading.WaitHandle.WaitOne", "System.Threading.EventWaitHandle.Set",
            "System.Threading.EventWaitHandle.Reset", "System.Threading.Mutex..ctor",
            "System.Threading.Mutex.ReleaseMutex", "System.Threading.SemaphoreSlim..ctor",
            "System.Threading.SemaphoreSlim.Wait", "System.Threading.SemaphoreSlim.Release",
        };

        private static readonly Dictionary<string, int> s_index = BuildIndex();
        private static readonly long[] s_counts = new long[s_apis.Length];

        private static Dictionary<string, int> BuildIndex()
        {
            var index = new Dictionary<string, int>();
            for (int i = 0; i < s_apis.Length; i++) index[s_apis[i]] = i;
            return index;
        }

        public static void Add(string api, int times = 1) => Interlocked.Add(ref s_counts[s_index[api]], times);

        // One JSON object, API name to count, for the APIs called at least once.
        public static string ToJson()
        {
            var text = new StringBuilder("{");
            bool first = true;
            for (int i = 0; i < s_apis.Length; i++)
            {
                long n = Interlocked.Read(ref s_counts[i]);
                if (n == 0) continue;
                if (!first) text.Append(", ");
                text.Append('"').Append(s_apis[i]).Append("\": ").Append(n);
                first = false;
            }
            return text.Append('}').ToString();
        }
    }
}
