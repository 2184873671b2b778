using System;
using System.Collections.Generic;
using System.Linq;
using System.Reflection;
using System.Reflection.Emit;
using System.Text;

namespace WrapperCheck
{
    // What the profiler relies on when it swaps a call site for a wrapper:
    // signatures that line up with the original API, overloads that live
    // together, and bodies that pass everything through to the original.
    internal static class ShapeChecks
    {
        private const BindingFlags Declared = BindingFlags.Public | BindingFlags.DeclaredOnly;

        // APIs that can wait or acquire, so the wrappers report after them too.
        // Kept here by hand, apart from the wrappers' own table, on purpose.
        private static readonly HashSet<string> s_blocking = new[]
        {
            "Monitor: Enter TryEnter Wait", "Thread: Join Sleep", "WaitHandle: WaitOne WaitAny WaitAll", "SemaphoreSlim: Wait",
            "Lock: Enter TryEnter EnterScope", "ReaderWriterLockSlim: EnterReadLock TryEnterReadLock EnterWriteLock " +
                "TryEnterWriteLock EnterUpgradeableReadLock TryEnterUpgradeableReadLock",
            "ReaderWriterLock: AcquireReaderLock AcquireWriterLock UpgradeToWriterLock RestoreLock",
            "ManualResetEventSlim: Wait", "CountdownEvent: Wait", "Barrier: SignalAndWait", "Tasks.Task: Wait WaitAll WaitAny",
            "Tasks.Parallel: For Invoke ForEach", "Tasks.Task`1: get_Result", "Tasks.ValueTask`1: get_Result",
        }.SelectMany(family => family.Split(':')[1].Split(' ', StringSplitOptions.RemoveEmptyEntries)
                                     .Select(m => $"System.Threading.{family.Split(':')[0]}.{m}")).ToHashSet();

        // Static APIs that name no object to report: they work on a memory
        // location, on the calling thread, or on work they create.
        private static readonly HashSet<string> s_noSubject = new HashSet<string>
        {
            "System.Threading.Interlocked", "System.Threading.Volatile", "System.Threading.Tasks.Parallel",
            "System.Threading.Thread.Sleep", "System.Threading.Thread.Yield",
            "System.Threading.ThreadPool.QueueUserWorkItem", "System.Threading.ThreadPool.UnsafeQueueUserWorkItem",
            "System.Threading.Tasks.Task.Run", "System.Threading.Tasks.Task.WaitAll",
            "System.Threading.Tasks.Task.WaitAny", "System.Threading.Tasks.Task.WhenAll",
            "System.Threading.Tasks.Task.WhenAny", "System.Runtime.CompilerServices.AsyncVoidMethodBuilder",
            "System.Threading.WaitHandle.WaitAny", "System.Threading.WaitHandle.WaitAll", "System.Threading.CancellationTokenSource.CreateLinkedTokenSource",
        };

        // The report hooks through which wrappers of lock APIs tell what the
        // call does to its lock (an overload with a timeout only tries, so it
        // reports a plain Before). Every other API reports Before and After.
        private static readonly Dictionary<string, (string[] Before, string After)> s_lockHooks = new()
        {
            ["System.Threading.Monitor.Enter"] = (new[] { "Acquiring" }, "Acquired"),
            ["System.Threading.Monitor.TryEnter"] = (new[] { "Before" }, "Acquired"),
            ["System.Threading.Monitor.Exit"] = (new[] { "Releasing" }, "After"),
            ["System.Threading.Monitor.Wait"] = (new[] { "Waiting" }, "Acquired"),
            ["System.Threading.WaitHandle.WaitOne"] = (new[] { "AcquiringMutex", "Before" }, "AcquiredMutex"),
            ["System.Threading.Mutex.ReleaseMutex"] = (new[] { "Releasing" }, "After"),
            ["System.Threading.SemaphoreSlim.Wait"] = (new[] { "Acquiring", "Before" }, "Acquired"),
            ["System.Threading.SemaphoreSlim.Release"] = (new[] { "Releasing" }, "After"),
            ["System.Threading.Lock.Enter"] = (new[] { "Acquiring" }, "Acquired"),
            ["System.Threading.Lock.TryEnter"] = (new[] { "Before" }, "Acquired"),
            ["System.Threading.Lock.EnterScope"] = (new[] { "Acquiring" }, "Acquired"),
            ["System.Threading.Lock.Exit"] = (new[] { "Releasing" }, "After"),
            ["System.Threading.Lock+Scope.Dispose"] = (new[] { "Releasing" }, "After"),
        };

        public static void Run(WrapperIndex index, Results r)
        {
            r.Section("signatures");
            foreach (Wrapper w in index.All)
            {
                w.Original = ResolveOriginal(w, out string why);
                if (r.Check(w.Original != null, $"signature matches one original API: {w}{why}") && w.Method.IsGenericMethodDefinition)
                {
                    r.Check(SameConstraints(w), $"generic parameters carry exactly the original's constraints: {w}");
                }
            }

            r.Section("overloads");
            foreach (var group in index.All.GroupBy(w => w.Triple))
            {
                var first = group.First();
                r.Check(group.All(w => w.Method.DeclaringType == first.Method.DeclaringType && w.Method.Name == first.Method.Name),
                        $"all overloads for {group.Key} are {first.Method.DeclaringType!.FullName}.{first.Method.Name}");
                var signatures = group.Select(w => w.Method.GetGenericArguments().Length + ":" +
                                                   string.Join(",", w.Method.GetParameters().Select(p => p.ParameterType))).ToList();
                r.Check(signatures.Distinct().Count() == signatures.Count, $"no two overloads for {group.Key} share a signature");
            }
            foreach (var group in index.All.GroupBy(w => (w.Method.DeclaringType, w.Method.Name)))
            {
                r.Check(group.Select(w => w.Triple).Distinct().Count() == 1,
                        $"{group.Key.DeclaringType!.FullName}.{group.Key.Name} replaces only one API");
            }

            r.Section("bodies");
            CheckBodies(index, r);
        }

        private static MethodBase? ResolveOriginal(Wrapper w, out string why)
        {
            why = "";
            Type? type;
            try
            {
                type = System.Reflection.Assembly.Load(new AssemblyName(w.Assembly)).GetType(w.Class, throwOnError: false);
            }
            catch (Exception e)
            {
                why = $" (cannot load {w.Assembly}: {e.Message})";
                return null;
            }
            if (type == null)
            {
                why = $" ({w.Class} is not reachable through {w.Assembly})";
                return null;
            }
            // A generic wrapper's parameters are the type's, then the
            // method's own: instantiated with them, the original's signature
            // is the wrapper's.
            ParameterInfo[] wp = w.Method.GetParameters();
            Type[] generics = w.Method.GetGenericArguments();
            int typeArity = type.IsGenericTypeDefinition ? type.GetGenericArguments().Length : 0;
            if (generics.Length < typeArity)
            {
                why = $" (fewer generic parameters than {type.FullName} has)";
                return null;
            }
            Type on = typeArity > 0 ? type.MakeGenericType(generics[..typeArity]) : type;
            Type[] methodGenerics = generics[typeArity..];
            var candidates = new List<MethodBase>();
            if (w.IsCtor)
            {
                if (w.Method.ReturnType == on && methodGenerics.Length == 0)
                {
                    candidates.AddRange(on.GetConstructors(Declared | BindingFlags.Instance).Where(c => SameParameters(c.GetParameters(), wp)));
                }
            }
            else
            {
                candidates.AddRange(on.GetMethods(Declared | BindingFlags.Static).Select(m => Instantiate(m, w.Name, methodGenerics)).OfType<MethodInfo>()
                    .Where(m => m.ReturnType == w.Method.ReturnType && SameParameters(m.GetParameters(), wp)));
                // A value type's instance comes by reference.
                bool receiver = wp.Length > 0 && !wp[0].IsOut &&
                                (wp[0].ParameterType == on ||
                                 (on.IsValueType && wp[0].ParameterType.IsByRef && wp[0].ParameterType.GetElementType() == on));
                if (receiver)
                {
                    candidates.AddRange(on.GetMethods(Declared | BindingFlags.Instance).Select(m => Instantiate(m, w.Name, methodGenerics)).OfType<MethodInfo>()
                        .Where(m => m.ReturnType == w.Method.ReturnType && SameParameters(m.GetParameters(), wp[1..])));
                }
            }
            if (candidates.Count != 1)
            {
                why = $" ({candidates.Count} candidates on {type.FullName})";
                return null;
            }
            return candidates[0];
        }

        // The method instantiated with the wrapper's own method parameters;
        // null when its name, arity or constraints do not fit them.
        private static MethodInfo? Instantiate(MethodInfo m, string name, Type[] generics)
        {
            if (m.Name != name || m.GetGenericArguments().Length != generics.Length) return null;
            if (generics.Length == 0) return m;
            try
            {
                return m.MakeGenericMethod(generics);
            }
            catch (ArgumentException)
            {
                return null;
            }
        }

        // The runtime checks a wrapper's constraints when the rewritten call
        // instantiates it: any constraint the original lacks would make a
        // valid call fail, and one missing would not compile the original call.
        private static bool SameConstraints(Wrapper w)
        {
            MethodBase original = w.Original!;
            Type[] typeParameters = original.DeclaringType!.IsGenericType
                ? original.DeclaringType.GetGenericTypeDefinition().GetGenericArguments() : Type.EmptyTypes;
            Type[] methodParameters = original is MethodInfo { IsGenericMethod: true } generic
                ? generic.GetGenericMethodDefinition().GetGenericArguments() : Type.EmptyTypes;
            Type[] originals = typeParameters.Concat(methodParameters).ToArray();
            Type[] wrappers = w.Method.GetGenericArguments();
            return originals.Length == wrappers.Length && originals.Zip(wrappers).All(p =>
                (p.First.GenericParameterAttributes & GenericParameterAttributes.SpecialConstraintMask) ==
                (p.Second.GenericParameterAttributes & GenericParameterAttributes.SpecialConstraintMask) &&
                p.First.GetGenericParameterConstraints().Select(c => c.ToString()).Order()
                    .SequenceEqual(p.Second.GetGenericParameterConstraints().Select(c => c.ToString()).Order()));
        }

        private static bool SameParameters(ParameterInfo[] original, ParameterInfo[] wrapper) =>
            original.Length == wrapper.Length &&
            original.Zip(wrapper).All(p => p.First.ParameterType == p.Second.ParameterType && p.First.IsOut == p.Second.IsOut);

        private static bool SameMethod(MethodBase? a, MethodBase? b) =>
            a != null && b != null && a.Module == b.Module && a.MetadataToken == b.MetadataToken;

        private delegate ReadOnlySpan<byte> NamesGetter();

        // The table's names: UTF-8, each ending with a NUL.
        private static string[]? ApiNames(Type? table)
        {
            MethodInfo? getter = table?.GetProperty("Names", BindingFlags.NonPublic | BindingFlags.Static)?.GetMethod;
            if (getter == null || getter.ReturnType != typeof(ReadOnlySpan<byte>)) return null;
            ReadOnlySpan<byte> all = getter.CreateDelegate<NamesGetter>()();
            if (all.IsEmpty || all[^1] != 0) return null;
            return Encoding.UTF8.GetString(all[..^1]).Split('\0');
        }

        private static void CheckBodies(WrapperIndex index, Results r)
        {
            Type? table = index.Assembly.GetTypes().SingleOrDefault(t => t.Name == "ApiTable" && !t.IsPublic);
            string[]? names = ApiNames(table);
            if (!r.Check(names != null, "the internal API table with its Names exists")) return;
            r.Check(names!.Distinct().Count() == names!.Length, $"the {names.Length} API names are distinct");
            var used = new HashSet<int>();
            Type? report = null;

            foreach (Wrapper w in index.All)
            {
                if (w.Original == null) continue;
                var il = IlDecoder.Decode(w.Method.GetMethodBody()!.GetILAsByteArray()!);
                // Helpers that find the object a value-type instance stands
                // for are part of reporting, not calls of their own.
                var calls = il.Select((ins, pos) => (ins, pos))
                              .Where(x => x.ins.OpCode.FlowControl == FlowControl.Call && !IsSubjectHelper(index, w, x.ins)).ToList();
                // An awaiter's GetResult waits for what it awaits.
                bool blocking = s_blocking.Contains($"{w.Class}.{w.Name}") || (w.Name == "GetResult" && w.Class.Contains("Awaiter", StringComparison.Ordinal));
                string body = string.Join("; ", il);
                var allowed = il.All(i => i.OpCode.Name!.StartsWith("ldarg", StringComparison.Ordinal) || i.OpCode.Name!.StartsWith("ldc.i4", StringComparison.Ordinal) ||
                                          i.OpCode.Name!.StartsWith("stloc", StringComparison.Ordinal) || i.OpCode.Name!.StartsWith("ldloc", StringComparison.Ordinal) ||
                                          i.OpCode == OpCodes.Ldnull || i.OpCode == OpCodes.Ret || i.OpCode == OpCodes.Nop || i.OpCode == OpCodes.Ldind_U1 ||
                                          i.OpCode == OpCodes.Call || i.OpCode == OpCodes.Callvirt || (i.OpCode == OpCodes.Newobj && w.IsCtor) ||
                                          i.OpCode == OpCodes.Ldsfld || i.OpCode == OpCodes.Calli);
                r.Check(allowed, $"body only moves arguments and calls (nothing that allocates): {w}: {body}");
                if (!r.Check(calls.Count == (blocking ? 3 : 2), $"body makes {(blocking ? "3 calls (before, original, after)" : "2 calls (before, original)")}: {w}: {body}")) continue;

                // The original, called with every argument in order, by the
                // opcode that keeps its semantics.
                var (call, at) = calls[1];
                if (call.OpCode == OpCodes.Calli)
                {
                    // A member of a newer runtime, called through the address
                    // its holder class looked up: that address, then every
                    // argument in order.
                    var loads = il.Where(i => i.OpCode == OpCodes.Ldsfld).ToList();
                    FieldInfo? field = loads.Count == 1 ? index.Assembly.ManifestModule.ResolveField(loads[0].Token) : null;
                    r.Check(field != null && field.Name == "Original" && field.DeclaringType!.DeclaringType == w.Method.DeclaringType &&
                            field.DeclaringType.GetField("Original", BindingFlags.NonPublic | BindingFlags.Static) == field,
                            $"the original's address comes from the wrapper's holder class: {w}");
                    int k = w.Method.GetParameters().Length;
                    r.Check(at >= k + 1 && Enumerable.Range(0, k).All(j => il[at - 1 - k + j].ArgIndex == j),
                            $"original gets every argument unchanged and in order: {w}");
                    if (CheckHook(index, il, calls[0], new[] { "Before" }, w, names, r, ref report) is int lateId) used.Add(lateId);
                    continue;
                }
                MethodBase? target = Resolve(index, w, call.Token);
                OpCode expectedOp = w.IsCtor ? OpCodes.Newobj
                                  : w.Original.IsStatic || w.Original.DeclaringType!.IsValueType ? OpCodes.Call : OpCodes.Callvirt;
                r.Check(SameMethod(target, w.Original), $"second call is the original {w.Original.DeclaringType!.Name}::{w.Original}: {w}");
                r.Check(call.OpCode == expectedOp, $"original is called with {expectedOp.Name}: {w}");
                int n = w.Method.GetParameters().Length;
                r.Check(at >= n && Enumerable.Range(0, n).All(k => il[at - n + k].ArgIndex == k), $"original gets every argument unchanged and in order: {w}");

                // The report hooks, with the API's id and the right subject.
                var hooks = s_lockHooks.TryGetValue($"{w.Class}.{w.Name}", out var lockHooks) ? lockHooks : (new[] { "Before" }, "After");
                int? id = CheckHook(index, il, calls[0], hooks.Item1, w, names, r, ref report);
                if (id is int beforeId) used.Add(beforeId);
                if (blocking)
                {
                    int? afterId = CheckHook(index, il, calls[2], new[] { hooks.Item2 }, w, names, r, ref report);
                    r.Check(afterId == id, $"After reports the same id as Before: {w}");
                }
            }
            r.Check(Enumerable.Range(0, names.Length).All(used.Contains), "every API name in the table is reported by some wrapper");

            if (report != null)
            {
                foreach (MethodInfo hook in report.GetMethods(BindingFlags.NonPublic | BindingFlags.Public | BindingFlags.Static | BindingFlags.DeclaredOnly))
                {
                    var il = IlDecoder.Decode(hook.GetMethodBody()!.GetILAsByteArray()!);
                    r.Check(!il.Any(i => i.OpCode == OpCodes.Newobj || i.OpCode == OpCodes.Newarr || i.OpCode == OpCodes.Box),
                            $"report hook {report.Name}.{hook.Name} does not allocate");
                }
            }
        }

        // A token of a generic wrapper's body may name its generic parameters.
        private static MethodBase? Resolve(WrapperIndex index, Wrapper w, int token) =>
            index.Assembly.ManifestModule.ResolveMethod(token, Type.EmptyTypes, w.Method.GetGenericArguments());

        private static bool IsSubjectHelper(WrapperIndex index, Wrapper w, Instruction ins)
        {
            if (ins.OpCode != OpCodes.Call) return false;
            MethodBase? target = Resolve(index, w, ins.Token);
            return target != null && target.Module == index.Assembly.ManifestModule && target.Name.EndsWith("Of", StringComparison.Ordinal) &&
                   target.DeclaringType!.Name != "Report";
        }

        private static int? CheckHook(WrapperIndex index, List<Instruction> il, (Instruction ins, int pos) call, string[] hookNames,
                                      Wrapper w, string[] names, Results r, ref Type? report)
        {
            // Hooks that report whether a lock was taken get the outcome last:
            // a local, a constant, or the lockTaken argument read through its
            // reference.
            MethodBase? hook = Resolve(index, w, call.ins.Token);
            // Atomic and volatile accesses report their location, the first
            // argument, by reference.
            if (hook is MethodInfo lm && lm.Name == "Location" && hookNames.Contains("Before") &&
                (w.Class == "System.Threading.Interlocked" || w.Class == "System.Threading.Volatile"))
            {
                ParameterInfo[] ps = lm.GetParameters();
                r.Check(lm.IsStatic && !lm.IsPublic && lm.IsGenericMethod && ps.Length == 2 && ps[0].ParameterType == typeof(int) &&
                        ps[1].ParameterType.IsByRef && call.ins.OpCode == OpCodes.Call && il[call.pos - 1].ArgIndex == 0,
                        $"Location hook takes the id and the first argument: {w}");
                int? locationId = call.pos >= 2 ? il[call.pos - 2].Int32Constant : null;
                r.Check(locationId is int li && li >= 0 && li < names.Length && names[li] == $"{w.Class}.{w.Name}",
                        $"Location reports the id of {w.Class}.{w.Name}: {w}");
                return locationId;
            }
            bool withOutcome = hook is MethodInfo m && m.GetParameters().Length == 3;
            Type[] parameters = withOutcome ? new[] { typeof(int), typeof(object), typeof(bool) } : new[] { typeof(int), typeof(object) };
            string hookName = string.Join(" or ", hookNames);
            bool shape = hook is MethodInfo mi && hookNames.Contains(mi.Name) && mi.IsStatic && !mi.IsPublic && !mi.DeclaringType!.IsPublic &&
                         mi.GetParameters().Select(p => p.ParameterType).SequenceEqual(parameters) &&
                         call.ins.OpCode == OpCodes.Call;
            if (!r.Check(shape, $"{hookName} hook is an internal static ({string.Join(", ", parameters.Select(p => p.Name))}) method: {w}")) return null;
            report ??= hook!.DeclaringType;
            r.Check(hook!.DeclaringType == report, $"{hookName} hook lives in the one report class: {w}");
            int subjectAt = call.pos - 1 - (withOutcome ? (il[call.pos - 1].OpCode == OpCodes.Ldind_U1 ? 2 : 1) : 0);
            Instruction subject = il[subjectAt];
            // What a value task stands for cannot be read without changing what it does.
            bool none = w.IsCtor || s_noSubject.Contains(w.Class) || s_noSubject.Contains($"{w.Class}.{w.Name}") ||
                        w.Class.Contains("ValueTask", StringComparison.Ordinal);
            bool helper = IsSubjectHelper(index, w, subject);
            bool subjectOk = none ? subject.OpCode == OpCodes.Ldnull
                           : subject.ArgIndex == 0 || (helper && il[subjectAt - 1].ArgIndex == 0);
            r.Check(subjectOk, $"{hookName} reports {(none ? "no instance" : "the first argument")}: {w}");
            int idAt = helper ? subjectAt - 2 : subjectAt - 1;
            int? id = idAt >= 0 ? il[idAt].Int32Constant : null;
            string expectedName = $"{w.Class}.{w.Name}";
            r.Check(id is int i && i >= 0 && i < names.Length && names[i] == expectedName,
                    $"{hookName} reports the id of {expectedName} (saw {id}): {w}");
            return id;
        }
    }
}
