using System;

namespace veskmrte_1_0
{
    // The profiler finds wrappers by this attribute's name and reads the three
    // constructor strings straight out of the blob, one byte per character, so
    // the strings must stay ASCII and short, and there must be no named arguments.
    [AttributeUsage(AttributeTargets.Method, Inherited = false, AllowMultiple = false)]
    public sealed class ReplacementAttribute : Attribute
    {
        public ReplacementAttribute(string originalApiAssembly, string originalApiClass, string originalApiMethod)
        {
            OriginalApiAssembly = originalApiAssembly;
            OriginalApiClass = originalApiClass;
            OriginalApiMethod = originalApiMethod;
        }

        // Simple name of the assembly through which compiled code references the API.
        public string OriginalApiAssembly { get; }

        public string OriginalApiClass { get; }

        public string OriginalApiMethod { get; }
    }
}
