// Lists the call, callvirt and newobj sites of the given assemblies whose
// target is a member of a synchronisation type, and whether the profiler can
// redirect each to a wrapper (and if not, why), with the share covered.
//
// usage: veskmrte-coverage [--sites] [--wrappers PATH] ASSEMBLY...
// --sites adds one line per site: SITE file:type.method, target token,
// target, outcome.
using System;
using System.Collections.Generic;
using System.IO;
using System.Linq;
using System.Reflection.Metadata;
using System.Reflection.Metadata.Ecma335;
using System.Reflection.PortableExecutable;

namespace Veskmrte.Coverage
{
    internal static class Program
    {
        private const string Covered = "covered";

        private static int Main(string[] args)
        {
            bool listSites = args.Contains("--sites");
            // The build that serves the runtimes programs run on today.
            string wrapperPath = Path.Combine(AppContext.BaseDirectory, "net9.0", "veskmrte_clr40wrap.dll");
            if (!File.Exists(wrapperPath)) wrapperPath = Path.Combine(AppContext.BaseDirectory, "veskmrte_clr40wrap.dll");
            var assemblies = new List<string>();
            for (int i = 0; i < args.Length; i++)
            {
                if (args[i] == "--wrappers" && i + 1 < args.Length) wrapperPath = args[++i];
                else if (args[i] != "--sites") assemblies.Add(args[i]);
            }
            if (assemblies.Count == 0 || !File.Exists(wrapperPath))
            {
                Console.Error.WriteLine("usage: veskmrte-coverage [--sites] [--wrappers PATH/veskmrte_clr40wrap.dll] ASSEMBLY...");
                return 2;
            }
            var wrappers = new Wrappers(wrapperPath);
            var byMember = new SortedDictionary<string, (int Sites, string Outcome)>(StringComparer.Ordinal);
            int failures = 0;
            foreach (string path in assemblies)
            {
                try
                {
                    foreach (var (member, outcome, where, token) in Sites(path, wrappers))
                    {
                        if (listSites) Console.WriteLine($"SITE {where}\t0x{token:x8}\t{member}\t{outcome}");
                        string key = member + "\t" + outcome;
                        byMember[key] = ((byMember.TryGetValue(key, out var seen) ? seen.Sites : 0) + 1, outcome);
                    }
                }
                catch (Exception e) when (e is BadImageFormatException or InvalidOperationException or IOException)
                {
                    Console.Error.WriteLine($"{path}: not readable as a .NET assembly ({e.Message})");
                    failures++;
                }
            }
            int total = 0, covered = 0, byDesign = 0;
            foreach (var (key, entry) in byMember)
            {
                Console.WriteLine($"{entry.Sites,6}  {key}");
                total += entry.Sites;
                if (entry.Outcome == Covered) covered += entry.Sites;
                else if (entry.Outcome.StartsWith("unwrapped by design", StringComparison.Ordinal)) byDesign += entry.Sites;
            }
            int counted = total - byDesign;
            Console.WriteLine($"sites {total}, unwrapped by design {byDesign}, reach a wrapper {covered} of {counted}" +
                              (counted > 0 ? $" ({100.0 * covered / counted:F1} %)" : ""));
            return failures == 0 ? 0 : 1;
        }

        private static IEnumerable<(string Member, string Outcome, string Where, int Token)> Sites(string path, Wrappers wrappers)
        {
            using var pe = new PEReader(File.OpenRead(path));
            if (!pe.HasMetadata) yield break;
            MetadataReader md = pe.GetMetadataReader();
            var names = new TypeNames();
            foreach (MethodDefinitionHandle mh in md.MethodDefinitions)
            {
                MethodDefinition method = md.GetMethodDefinition(mh);
                if (method.RelativeVirtualAddress == 0) continue;
                MethodBodyBlock body = pe.GetMethodBody(method.RelativeVirtualAddress);
                string where = Path.GetFileName(path) + ":" + TypeNames.Of(md, method.GetDeclaringType()) + "." + md.GetString(method.Name);
                foreach (IlSites.Site site in IlSites.Read(body))
                {
                    var target = Target(md, names, site.Token);
                    if (target is not var (assembly, type, member, sig) || !Scope.Types.Contains(type)) continue;
                    yield return ($"{type}.{member}{TypeNames.Parameters(sig)}", Outcome(wrappers, site, assembly, type, member, sig),
                                  where, site.Token);
                }
            }
        }

        private static string Outcome(Wrappers wrappers, IlSites.Site site, string assembly, string type, string member,
                                      MethodSignature<string> sig)
        {
            if (Scope.UnwrappedByDesign(type, member) is string reason) return "unwrapped by design: " + reason;
            if (site.Constrained) return "not redirected: after a constrained. prefix";
            if (!wrappers.Has(assembly, type, member)) return "not redirected: no wrapper for the member";
            if (!wrappers.Fits(assembly, type, member, sig)) return "not redirected: no wrapper overload for this signature";
            return Covered;
        }

        // The target's surface assembly, type, member and signature: for a
        // generic method's instance the method's, for a member of a generic
        // type's instance the generic type's.
        private static (string, string, string, MethodSignature<string>)? Target(MetadataReader md, TypeNames names, int token)
        {
            EntityHandle handle = MetadataTokens.EntityHandle(token);
            if (handle.Kind == HandleKind.MethodSpecification)
            {
                handle = md.GetMethodSpecification((MethodSpecificationHandle)handle).Method;
            }
            if (handle.Kind == HandleKind.MemberReference)
            {
                MemberReference member = md.GetMemberReference((MemberReferenceHandle)handle);
                if (member.GetKind() != MemberReferenceKind.Method) return null;
                string name = md.GetString(member.Name);
                var sig = member.DecodeMethodSignature(names, null);
                EntityHandle parent = member.Parent;
                if (parent.Kind == HandleKind.TypeSpecification)
                {
                    string instance = md.GetTypeSpecification((TypeSpecificationHandle)parent).DecodeSignature(names, null);
                    int open = instance.IndexOf('<');
                    if (open < 0) return null;
                    BlobReader blob = md.GetBlobReader(md.GetTypeSpecification((TypeSpecificationHandle)parent).Signature);
                    blob.ReadByte();
                    blob.ReadByte();
                    parent = blob.ReadTypeHandle();
                    return (AssemblyOf(md, parent), instance[..open], name, sig);
                }
                if (parent.Kind != HandleKind.TypeReference && parent.Kind != HandleKind.TypeDefinition) return null;
                return (AssemblyOf(md, parent), TypeNames.Of(md, parent), name, sig);
            }
            if (handle.Kind == HandleKind.MethodDefinition)
            {
                MethodDefinition method = md.GetMethodDefinition((MethodDefinitionHandle)handle);
                return (AssemblyOf(md, method.GetDeclaringType()), TypeNames.Of(md, method.GetDeclaringType()),
                        md.GetString(method.Name), method.DecodeSignature(names, null));
            }
            return null;
        }

        // The assembly a type reference names; the module's own for its types.
        private static string AssemblyOf(MetadataReader md, EntityHandle type)
        {
            while (type.Kind == HandleKind.TypeReference)
            {
                EntityHandle scope = md.GetTypeReference((TypeReferenceHandle)type).ResolutionScope;
                if (scope.Kind == HandleKind.AssemblyReference)
                    return md.GetString(md.GetAssemblyReference((AssemblyReferenceHandle)scope).Name);
                if (scope.Kind != HandleKind.TypeReference) break;
                type = scope;
            }
            return md.IsAssembly ? md.GetString(md.GetAssemblyDefinition().Name) : "";
        }
    }
}
