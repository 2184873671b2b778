using System;
using System.Collections.Generic;
using System.IO;
using System.Linq;
using System.Reflection;
using System.Reflection.Metadata;
using System.Reflection.Metadata.Ecma335;
using System.Reflection.PortableExecutable;

namespace WrapperCheck
{
    // Compares the wrappers' reference-assembly names with what the compiler
    // really emitted for OriginalCalls, and checks that every family of
    // wrappers covers the same overloads.
    internal static class ReferenceChecks
    {
        private static readonly string[] s_covered =
        {
            "System.Threading.Monitor", "System.Threading.Thread", "System.Threading.WaitHandle", "System.Threading.EventWaitHandle",
            "System.Threading.Mutex", "System.Threading.SemaphoreSlim", "System.Threading.Lock", "System.Threading.Lock+Scope",
            "System.Threading.ReaderWriterLockSlim", "System.Threading.ReaderWriterLock", "System.Threading.ManualResetEventSlim",
            "System.Threading.Semaphore", "System.Threading.AutoResetEvent", "System.Threading.ManualResetEvent",
            "System.Threading.CountdownEvent", "System.Threading.Barrier", "System.Threading.Interlocked", "System.Threading.Volatile",
            "System.Threading.ThreadPool", "System.Threading.Timer", "System.Threading.CancellationTokenSource",
            "System.Threading.Tasks.Task", "System.Threading.Tasks.TaskFactory", "System.Threading.Tasks.Parallel",
            "System.Threading.Tasks.Task`1", "System.Threading.Tasks.TaskCompletionSource`1", "System.Threading.Tasks.TaskCompletionSource",
            "System.Threading.Tasks.ValueTask`1", "System.Threading.Tasks.ValueTask", "System.Runtime.CompilerServices.TaskAwaiter",
            "System.Runtime.CompilerServices.TaskAwaiter`1", "System.Runtime.CompilerServices.ConfiguredTaskAwaitable+ConfiguredTaskAwaiter",
            "System.Runtime.CompilerServices.ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter", "System.Runtime.CompilerServices.ValueTaskAwaiter",
            "System.Runtime.CompilerServices.ValueTaskAwaiter`1", "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable+ConfiguredValueTaskAwaiter",
            "System.Runtime.CompilerServices.ConfiguredValueTaskAwaitable`1+ConfiguredValueTaskAwaiter",
            "System.Runtime.CompilerServices.AsyncTaskMethodBuilder", "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1",
            "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder", "System.Runtime.CompilerServices.AsyncValueTaskMethodBuilder`1",
            "System.Runtime.CompilerServices.AsyncVoidMethodBuilder",
        };
        // The assemblies that implement the covered types outside the core library.
        private static readonly string[] s_implementations = { "System.Threading", "System.Threading.Tasks.Parallel" };
        // Families that no net10.0 program compiles against: libraries built for
        // .NET Standard or .NET Framework, and the framework's own libraries.
        // .NET Standard 2.0 libraries name value tasks through the package
        // that brought them.
        private static readonly string[] s_libraryFamilies =
        {
            "netstandard", "mscorlib", "System.Private.CoreLib", "System.Threading.Tasks.Extensions",
        };

        private readonly record struct Observed(string Scope, string Class, string Name, MethodBase Method);

        public static void Run(WrapperIndex index, Results r)
        {
            r.Section("references");
            List<Observed> observed = ReadOwnCalls();
            r.Check(observed.Count > 0, $"read {observed.Count} calls of covered APIs from this program's metadata");

            var wrapped = index.All.Where(w => w.Original != null).ToList();
            foreach (Observed o in observed)
            {
                r.Check(wrapped.Any(w => w.Assembly == o.Scope && w.Class == o.Class && w.Name == o.Name && Same(w.Original!, o.Method)),
                        $"a net10.0 call of {o.Class}::{o.Name} {o.Method} through {o.Scope} has a wrapper");
                foreach (string family in s_libraryFamilies.Where(f => Reachable(o.Class, f)))
                {
                    r.Check(wrapped.Any(w => w.Assembly == family && w.Class == o.Class && w.Name == o.Name && Same(w.Original!, o.Method)),
                            $"{o.Class}::{o.Name} {o.Method} has a {family} wrapper too");
                }
            }
            foreach (Wrapper w in wrapped.Where(w => !s_libraryFamilies.Contains(w.Assembly)))
            {
                r.Check(observed.Any(o => o.Scope == w.Assembly && o.Class == w.Class && o.Name == w.Name && Same(w.Original!, o.Method)),
                        $"the compiler names this API the way the wrapper says: {w}");
            }
            foreach (Wrapper w in wrapped.Where(w => s_libraryFamilies.Contains(w.Assembly)))
            {
                r.Check(observed.Any(o => o.Class == w.Class && o.Name == w.Name && Same(w.Original!, o.Method)),
                        $"library wrapper's API is one a net10.0 program also calls: {w}");
            }
        }

        private static Type? Implementation(string cls) =>
            typeof(object).Assembly.GetType(cls) ??
            s_implementations.Select(a => System.Reflection.Assembly.Load(a).GetType(cls)).FirstOrDefault(t => t != null);

        // Whether a family's reference assembly names the type at all (no
        // .NET Standard library can call Lock, for one).
        private static bool Reachable(string cls, string family)
        {
            try
            {
                Type? viaName = System.Reflection.Assembly.Load(new AssemblyName(family)).GetType(cls);
                return viaName != null && viaName == Implementation(cls);
            }
            catch (IOException)
            {
                return false;
            }
        }

        private static bool Same(MethodBase a, MethodBase b) => a.Module == b.Module && a.MetadataToken == b.MetadataToken;

        private static List<Observed> ReadOwnCalls()
        {
            Assembly self = typeof(OriginalCalls).Assembly;
            using var pe = new PEReader(File.OpenRead(self.Location));
            MetadataReader md = pe.GetMetadataReader();
            var result = new List<Observed>();
            var bodies = typeof(OriginalCalls).GetMethods(BindingFlags.NonPublic | BindingFlags.Static | BindingFlags.DeclaredOnly);
            foreach (Instruction ins in bodies.SelectMany(m => IlDecoder.Decode(m.GetMethodBody()!.GetILAsByteArray()!)))
            {
                if (ins.OpCode.FlowControl != System.Reflection.Emit.FlowControl.Call) continue;
                EntityHandle handle = MetadataTokens.EntityHandle(ins.Token);
                // A generic method's instance names the method it instantiates.
                if (handle.Kind == HandleKind.MethodSpecification) handle = md.GetMethodSpecification((MethodSpecificationHandle)handle).Method;
                if (handle.Kind != HandleKind.MemberReference) continue;
                MemberReference member = md.GetMemberReference((MemberReferenceHandle)handle);
                EntityHandle parent = member.Parent;
                // A member of a generic type's instance names the type it instantiates.
                if (parent.Kind == HandleKind.TypeSpecification)
                {
                    BlobReader instance = md.GetBlobReader(md.GetTypeSpecification((TypeSpecificationHandle)parent).Signature);
                    if (instance.ReadSignatureTypeCode() != SignatureTypeCode.GenericTypeInstance) continue;
                    instance.ReadSignatureTypeCode();
                    parent = instance.ReadTypeHandle();
                }
                if (parent.Kind != HandleKind.TypeReference) continue;
                TypeReference type = md.GetTypeReference((TypeReferenceHandle)parent);
                string name = md.GetString(type.Name);
                while (type.ResolutionScope.Kind == HandleKind.TypeReference)
                {
                    type = md.GetTypeReference((TypeReferenceHandle)type.ResolutionScope);
                    name = md.GetString(type.Name) + "+" + name;
                }
                string cls = md.GetString(type.Namespace) + "." + name;
                // Property reads (Task.Factory) only read state and have no wrapper.
                if (!s_covered.Contains(cls) || type.ResolutionScope.Kind != HandleKind.AssemblyReference ||
                    (md.GetString(member.Name).StartsWith("get_", StringComparison.Ordinal) && md.GetString(member.Name) != "get_Result"))
                {
                    continue;
                }
                string scope = md.GetString(md.GetAssemblyReference((AssemblyReferenceHandle)type.ResolutionScope).Name);
                MethodBase method = self.ManifestModule.ResolveMethod(ins.Token)!;
                result.Add(new Observed(scope, cls, md.GetString(member.Name), method));
            }
            return result;
        }
    }
}
