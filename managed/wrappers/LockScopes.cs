#if NET9_0_OR_GREATER
using System.Runtime.CompilerServices;
using System.Threading;

namespace Veskmrte.Wrappers
{
    // A lock scope releases the lock it was entered on, but does not show
    // it. Its one reference field is that lock, and a reference field comes
    // first in the layout the runtime gives a struct; whether it does in the
    // running runtime is checked once, on a lock of our own, and where it
    // does not the scope's release is reported without its lock rather than
    // with a guess.
    internal static class LockScopes
    {
        private static readonly bool s_lockFirst = LockComesFirst();

        internal static Lock? LockOf(ref Lock.Scope scope) =>
            s_lockFirst ? Unsafe.As<Lock.Scope, Lock>(ref scope) : null;

        private static bool LockComesFirst()
        {
            var probe = new Lock();
            Lock.Scope scope = probe.EnterScope();
            try
            {
                // Compared as numbers: until the layout is known, the first
                // word must not be handled as a reference. A collection
                // between the two reads can move the probe; the next try then
                // sees both at the new address.
                for (int attempt = 0; attempt < 3; attempt++)
                {
                    nint first = Unsafe.As<Lock.Scope, nint>(ref scope);
                    nint address = Unsafe.As<Lock, nint>(ref probe);
                    if (first == address) return true;
                }
                return false;
            }
            finally
            {
                scope.Dispose();
            }
        }
    }
}
#endif
