using System;
using System.Runtime.ExceptionServices;
using System.Threading;

namespace WrapperCheck
{
    internal delegate void LockRef(object obj, ref bool lockTaken);
    internal delegate void LockIntRef(object obj, int millisecondsTimeout, ref bool lockTaken);
    internal delegate void LockSpanRef(object obj, TimeSpan timeout, ref bool lockTaken);
    internal delegate Mutex MutexCreate(bool initiallyOwned, string? name, out bool createdNew);

    // Calls the wrappers of every family the way a rewritten program would
    // and checks they behave like the APIs they stand for, errors included.
    internal sealed partial class Behaviour
    {
        private static readonly TimeSpan s_short = TimeSpan.FromMilliseconds(20);
        private static readonly TimeSpan s_long = TimeSpan.FromSeconds(30);

        private readonly WrapperIndex _index;
        private readonly Results _r;

        private Behaviour(WrapperIndex index, Results r)
        {
            _index = index;
            _r = r;
        }

        public static void Run(WrapperIndex index, Results r)
        {
            var b = new Behaviour(index, r);
            b.ForEachFamily("System.Threading.Monitor", b.Monitors);
            b.ForEachFamily("System.Threading.Thread", b.Threads);
            b.ForEachFamily("System.Threading.WaitHandle", b.WaitHandles);
            b.ForEachFamily("System.Threading.EventWaitHandle", b.EventWaitHandles);
            b.ForEachFamily("System.Threading.Mutex", b.Mutexes);
            b.ForEachFamily("System.Threading.SemaphoreSlim", b.Semaphores);
        }

        private void ForEachFamily(string cls, Action<string> scenarios)
        {
            _r.Section("behaviour " + cls.Substring(cls.LastIndexOf('.') + 1));
            int families = 0;
            foreach (string family in _index.AssembliesFor(cls))
            {
                families++;
                _r.Run($"[{family}] {cls}", () => scenarios(family));
            }
            _r.Check(families >= 3, $"{cls} has wrappers for {families} reference assemblies (net10.0, netstandard, mscorlib)");
        }

        private T Get<T>(string family, string cls, string method) where T : Delegate => _index.Get<T>(family, cls, method);

        private bool Check(bool condition, string what) => _r.Check(condition, what);

        // Both the original and the wrapper must throw exactly TException.
        private void Throws<TException>(string what, Action original, Action wrapper) where TException : Exception
        {
            string viaOriginal = Outcome(original), viaWrapper = Outcome(wrapper);
            _r.Check(viaOriginal == typeof(TException).Name && viaWrapper == viaOriginal,
                     $"{what}: original gave {viaOriginal}, wrapper gave {viaWrapper}");
        }

        private static string Outcome(Action action)
        {
            try
            {
                action();
                return "no exception";
            }
            catch (Exception e)
            {
                return e.GetType().Name;
            }
        }

        private static T OnOtherThread<T>(Func<T> work)
        {
            T result = default!;
            Exception? error = null;
            var thread = new Thread(() =>
            {
                try
                {
                    result = work();
                }
                catch (Exception e)
                {
                    error = e;
                }
            });
            thread.Start();
            if (!thread.Join(s_long))
            {
                throw new TimeoutException("a helper thread did not finish");
            }
            if (error != null)
            {
                ExceptionDispatchInfo.Throw(error);
            }
            return result;
        }
    }
}
