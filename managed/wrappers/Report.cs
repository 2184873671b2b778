namespace Veskmrte.Wrappers
{
    // Every wrapper calls Before ahead of the original API, and blocking ones
    // call After once it has returned (not when it throws). The ids index
    // ApiTable.Names. These run on every intercepted call in the profiled
    // program, so they must never allocate, lock or throw; while they are
    // empty the JIT inlines them away.
    internal static class Report
    {
        internal static void Before(int apiId, object? instance)
        {
        }

        internal static void After(int apiId, object? instance)
        {
        }
    }
}
