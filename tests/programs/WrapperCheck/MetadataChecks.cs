using System;
using System.Collections.Generic;
using System.IO;
using System.Linq;
using System.Reflection;
using System.Reflection.Metadata;
using System.Reflection.PortableExecutable;

namespace WrapperCheck
{
    // The attribute as the profiler reads it: by name, from raw blobs.
    internal static class MetadataChecks
    {
        public static void Run(string path, Assembly assembly, WrapperIndex index, Results r)
        {
            r.Section("attribute");
            CheckBlobs(path, r);
            CheckPlacement(assembly, index, r);
        }

        // Prolog 0x0001, three non-null SerStrings of printable ASCII under 256
        // bytes, zero named arguments, nothing after.
        private static void CheckBlobs(string path, Results r)
        {
            using var pe = new PEReader(File.OpenRead(path));
            MetadataReader md = pe.GetMetadataReader();
            int seen = 0;
            var perMethod = new Dictionary<MethodDefinitionHandle, int>();
            foreach (CustomAttributeHandle h in md.CustomAttributes)
            {
                CustomAttribute ca = md.GetCustomAttribute(h);
                if (ca.Constructor.Kind != HandleKind.MethodDefinition)
                {
                    continue;
                }
                TypeDefinition owner = md.GetTypeDefinition(md.GetMethodDefinition((MethodDefinitionHandle)ca.Constructor).GetDeclaringType());
                if (md.GetString(owner.Namespace) != "veskmrte_1_0" || md.GetString(owner.Name) != "ReplacementAttribute")
                {
                    continue;
                }
                seen++;
                string where = DescribeParent(md, ca.Parent);
                if (!r.Check(ca.Parent.Kind == HandleKind.MethodDefinition, $"attribute sits on a method: {where}"))
                {
                    continue;
                }
                var method = (MethodDefinitionHandle)ca.Parent;
                perMethod[method] = perMethod.GetValueOrDefault(method) + 1;
                BlobReader blob = md.GetBlobReader(ca.Value);
                bool ok = blob.Length >= 2 && blob.ReadUInt16() == 1;
                var strings = new List<string>();
                for (int i = 0; ok && i < 3; i++)
                {
                    ok = ReadAsciiString(ref blob, out string? s);
                    if (ok)
                    {
                        strings.Add(s!);
                    }
                }
                ok = ok && blob.RemainingBytes == 2 && blob.ReadUInt16() == 0;
                r.Check(ok, $"blob is prolog + 3 ASCII strings < 256 bytes + no named arguments: {where} [{string.Join(", ", strings)}]");
            }
            r.Check(seen > 0, $"found {seen} replacement attributes in the metadata");
            r.Check(perMethod.Values.All(c => c == 1), "no method carries more than one replacement attribute");
        }

        private static bool ReadAsciiString(ref BlobReader blob, out string? value)
        {
            value = null;
            if (blob.RemainingBytes < 1 || blob.ReadByte() == 0xFF)
            {
                return false;
            }
            blob.Offset--;
            int length = blob.ReadCompressedInteger();
            if (length <= 0 || length >= 256 || blob.RemainingBytes < length)
            {
                return false;
            }
            byte[] bytes = blob.ReadBytes(length);
            if (bytes.Any(b => b < 0x20 || b > 0x7E))
            {
                return false;
            }
            value = System.Text.Encoding.ASCII.GetString(bytes);
            return true;
        }

        private static string DescribeParent(MetadataReader md, EntityHandle parent)
        {
            if (parent.Kind != HandleKind.MethodDefinition)
            {
                return parent.Kind.ToString();
            }
            MethodDefinition m = md.GetMethodDefinition((MethodDefinitionHandle)parent);
            TypeDefinition t = md.GetTypeDefinition(m.GetDeclaringType());
            return $"{md.GetString(t.Namespace)}.{md.GetString(t.Name)}.{md.GetString(m.Name)}";
        }

        // Every public static method of a public type is a wrapper with exactly
        // one attribute, and every attributed method is such a method.
        private static void CheckPlacement(Assembly assembly, WrapperIndex index, Results r)
        {
            foreach (Type type in assembly.GetTypes())
            {
                if (type.FullName == WrapperIndex.AttributeFullName)
                {
                    continue;
                }
                foreach (MethodInfo m in type.GetMethods(BindingFlags.Public | BindingFlags.Static | BindingFlags.DeclaredOnly))
                {
                    if (type.IsPublic)
                    {
                        r.Check(index.AttributeCounts.GetValueOrDefault(m) == 1, $"public static {type.FullName}.{m.Name} carries exactly one replacement attribute");
                    }
                }
            }
            foreach (Wrapper w in index.All)
            {
                Type t = w.Method.DeclaringType!;
                r.Check(w.Method.IsPublic && w.Method.IsStatic && t.IsPublic, $"wrapper is public static in a public type: {w}");
                r.Check(!t.ContainsGenericParameters, $"wrapper type is not an open generic type: {w}");
            }
        }
    }
}
