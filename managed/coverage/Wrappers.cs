using System.Collections.Generic;
using System.Globalization;
using System.IO;
using System.Linq;
using System.Reflection.Metadata;
using System.Reflection.PortableExecutable;
using System.Text.RegularExpressions;

namespace Veskmrte.Coverage
{
    // The wrapper assembly's replacement attributes as the profiler reads
    // them: (surface assembly, type, member) to the parameter lists of the
    // wrapper overloads, instance first for instance members.
    internal sealed class Wrappers
    {
        private readonly Dictionary<(string, string, string), List<MethodSignature<string>>> _overloads = new();

        public Wrappers(string path)
        {
            using var pe = new PEReader(File.OpenRead(path));
            MetadataReader md = pe.GetMetadataReader();
            var names = new TypeNames();
            foreach (MethodDefinitionHandle handle in md.MethodDefinitions)
            {
                MethodDefinition method = md.GetMethodDefinition(handle);
                foreach (CustomAttributeHandle ah in method.GetCustomAttributes())
                {
                    CustomAttribute attribute = md.GetCustomAttribute(ah);
                    if (attribute.Constructor.Kind != HandleKind.MethodDefinition) continue;
                    TypeDefinitionHandle owner = md.GetMethodDefinition((MethodDefinitionHandle)attribute.Constructor).GetDeclaringType();
                    if (TypeNames.Of(md, owner) != "veskmrte_1_0.ReplacementAttribute") continue;
                    BlobReader value = md.GetBlobReader(attribute.Value);
                    value.ReadUInt16();
                    var key = (value.ReadSerializedString() ?? "", value.ReadSerializedString() ?? "", value.ReadSerializedString() ?? "");
                    if (!_overloads.TryGetValue(key, out var list)) _overloads[key] = list = new List<MethodSignature<string>>();
                    list.Add(method.DecodeSignature(names, null));
                }
            }
        }

        public bool Has(string assembly, string type, string member) => _overloads.ContainsKey((assembly, type, member));

        // Whether an overload takes what the call site passes: the same
        // parameters after the instance, and for methods the same return. A
        // generic wrapper's parameters are the type's, then the method's own,
        // so the site's type parameter n is the wrapper's method parameter n
        // and its method parameter n the wrapper's typeArity + n.
        public bool Fits(string assembly, string type, string member, MethodSignature<string> target)
        {
            if (!_overloads.TryGetValue((assembly, type, member), out var list)) return false;
            bool ctor = member == ".ctor";
            int skip = target.Header.IsInstance && !ctor ? 1 : 0;
            int typeArity = TypeArity(type);
            string wanted = AsWrapperParameters(TypeNames.Parameters(target), typeArity);
            string returned = AsWrapperParameters(target.ReturnType, typeArity);
            foreach (MethodSignature<string> overload in list)
            {
                if (overload.GenericParameterCount != typeArity + target.GenericParameterCount) continue;
                if (TypeNames.Parameters(overload, skip) != wanted) continue;
                if (!ctor && overload.ReturnType != returned) continue;
                return true;
            }
            return false;
        }

        // "System.Runtime.CompilerServices.ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter" has one.
        private static int TypeArity(string type) =>
            Regex.Matches(type, @"`(\d+)").Sum(m => int.Parse(m.Groups[1].Value, CultureInfo.InvariantCulture));

        private static string AsWrapperParameters(string text, int typeArity) =>
            Regex.Replace(text, @"(!!?)(\d+)", m =>
                "!!" + (int.Parse(m.Groups[2].Value, CultureInfo.InvariantCulture) + (m.Groups[1].Value == "!!" ? typeArity : 0)));
    }
}
