using System;
using System.Collections.Generic;
using System.Linq;
using System.Reflection;

namespace WrapperCheck
{
    // An attributed method and the API its attribute names.
    internal sealed record Wrapper(MethodInfo Method, string Assembly, string Class, string Name)
    {
        // The runtime API this wrapper stands for, once its signature matched.
        public MethodBase? Original { get; set; }

        public bool IsCtor => Name == ".ctor";

        public string Triple => $"[{Assembly}] {Class}::{Name}";

        public override string ToString() =>
            $"{Method.DeclaringType!.FullName}.{Method.Name}({string.Join(", ", Method.GetParameters().Select(p => p.ParameterType.Name))}) for {Triple}";
    }

    // Every attributed method of the loaded wrapper assembly.
    internal sealed class WrapperIndex
    {
        public const string AttributeFullName = "veskmrte_1_0.ReplacementAttribute";

        public WrapperIndex(Assembly assembly)
        {
            Assembly = assembly;
            foreach (Type type in assembly.GetTypes())
            {
                foreach (MethodInfo m in type.GetMethods(BindingFlags.Public | BindingFlags.NonPublic | BindingFlags.Static |
                                                         BindingFlags.Instance | BindingFlags.DeclaredOnly))
                {
                    var attrs = m.GetCustomAttributesData().Where(a => a.AttributeType.FullName == AttributeFullName).ToList();
                    if (attrs.Count == 0) continue;
                    var args = attrs[0].ConstructorArguments;
                    All.Add(new Wrapper(m, (string)args[0].Value!, (string)args[1].Value!, (string)args[2].Value!));
                }
            }
        }

        public Assembly Assembly { get; }

        public List<Wrapper> All { get; } = new List<Wrapper>();
    }
}
