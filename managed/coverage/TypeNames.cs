using System.Collections.Immutable;
using System.Linq;
using System.Reflection.Metadata;

namespace Veskmrte.Coverage
{
    // Signature types as text in one spelling for every assembly, so that a
    // call site and a wrapper compare by their texts. Nested types read
    // "Outer+Inner", type parameters "!n", method type parameters "!!n".
    internal sealed class TypeNames : ISignatureTypeProvider<string, object?>
    {
        public static string Of(MetadataReader md, EntityHandle handle) => handle.Kind switch
        {
            HandleKind.TypeReference => Reference(md, (TypeReferenceHandle)handle),
            HandleKind.TypeDefinition => Definition(md, (TypeDefinitionHandle)handle),
            _ => "?",
        };

        private static string Reference(MetadataReader md, TypeReferenceHandle handle)
        {
            TypeReference type = md.GetTypeReference(handle);
            string name = Join(md.GetString(type.Namespace), md.GetString(type.Name));
            return type.ResolutionScope.Kind == HandleKind.TypeReference
                ? Reference(md, (TypeReferenceHandle)type.ResolutionScope) + "+" + name
                : name;
        }

        private static string Definition(MetadataReader md, TypeDefinitionHandle handle)
        {
            TypeDefinition type = md.GetTypeDefinition(handle);
            string name = Join(md.GetString(type.Namespace), md.GetString(type.Name));
            TypeDefinitionHandle outer = type.GetDeclaringType();
            return outer.IsNil ? name : Definition(md, outer) + "+" + name;
        }

        private static string Join(string ns, string name) => ns.Length == 0 ? name : ns + "." + name;

        public string GetPrimitiveType(PrimitiveTypeCode typeCode) => typeCode.ToString();
        public string GetTypeFromDefinition(MetadataReader reader, TypeDefinitionHandle handle, byte rawTypeKind) => Definition(reader, handle);
        public string GetTypeFromReference(MetadataReader reader, TypeReferenceHandle handle, byte rawTypeKind) => Reference(reader, handle);
        public string GetTypeFromSpecification(MetadataReader reader, object? context, TypeSpecificationHandle handle, byte rawTypeKind) =>
            reader.GetTypeSpecification(handle).DecodeSignature(this, context);
        public string GetSZArrayType(string elementType) => elementType + "[]";
        public string GetArrayType(string elementType, ArrayShape shape) => elementType + "[" + new string(',', shape.Rank - 1) + "]";
        public string GetByReferenceType(string elementType) => "ref " + elementType;
        public string GetPointerType(string elementType) => elementType + "*";
        public string GetGenericInstantiation(string genericType, ImmutableArray<string> typeArguments) =>
            genericType + "<" + string.Join(",", typeArguments) + ">";
        public string GetGenericTypeParameter(object? context, int index) => "!" + index;
        public string GetGenericMethodParameter(object? context, int index) => "!!" + index;
        public string GetFunctionPointerType(MethodSignature<string> signature) => "fnptr";
        public string GetModifiedType(string modifier, string unmodifiedType, bool isRequired) => unmodifiedType;
        public string GetPinnedType(string elementType) => elementType;

        public static string Parameters(MethodSignature<string> sig, int skip = 0) =>
            "(" + string.Join(",", sig.ParameterTypes.Skip(skip)) + ")";
    }
}
