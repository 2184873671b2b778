using System;
using System.Buffers.Binary;
using System.Diagnostics;
using System.IO;
using System.Linq;
using System.Numerics;
using System.Reflection;
using System.Reflection.Metadata;
using System.Reflection.PortableExecutable;
using System.Security.Cryptography;

namespace WrapperCheck
{
    // The identity the profiler binds to, and a real strong-name signature.
    internal static class IdentityChecks
    {
        public const string ExpectedName = "veskmrte_clr40wrap";
        public const string ExpectedToken = "6d2cb8785bd90e43";
        private static readonly Version s_expectedVersion = new Version(9, 9, 9, 9);

        public static void Run(string path, Results r)
        {
            r.Section("identity");
            AssemblyName name = AssemblyName.GetAssemblyName(path);
            string token = Convert.ToHexString(name.GetPublicKeyToken() ?? Array.Empty<byte>()).ToLowerInvariant();
            r.Check(name.Name == ExpectedName, $"assembly name is {ExpectedName} (saw {name.Name})");
            r.Check(Path.GetFileName(path) == ExpectedName + ".dll", $"file name is {ExpectedName}.dll");
            r.Check(name.Version == s_expectedVersion, $"assembly version is 9.9.9.9 (saw {name.Version})");
            r.Check(token == ExpectedToken, $"public key token is {ExpectedToken} (saw {token})");

            string? fileVersion = FileVersionInfo.GetVersionInfo(path).FileVersion;
            r.Check(fileVersion == "9.9.9.9", $"file version is 9.9.9.9 (saw {fileVersion})");

            byte[] image = File.ReadAllBytes(path);
            using var pe = new PEReader(new MemoryStream(image));
            MetadataReader md = pe.GetMetadataReader();
            CorHeader cor = pe.PEHeaders.CorHeader!;
            r.Check((cor.Flags & CorFlags.StrongNameSigned) != 0, "image is marked strong-name signed");
            r.Check((cor.Flags & CorFlags.ILOnly) != 0, "image is IL only (not ReadyToRun or mixed)");
            r.Check(cor.ManagedNativeHeaderDirectory.Size == 0, "image has no precompiled native code");
            CheckSignature(pe, image, md, r);

            bool specialCallback = md.TypeDefinitions.Any(h => md.GetString(md.GetTypeDefinition(h).Name).Contains("SpecialCallbackAttribute")) ||
                                   md.TypeReferences.Any(h => md.GetString(md.GetTypeReference(h).Name).Contains("SpecialCallbackAttribute"));
            r.Check(!specialCallback, "no special-callback attribute is defined or used");
        }

        // Recomputes the strong-name hash (headers without padding and with
        // checksum and certificate entry zeroed, then all section data except
        // the signature) and checks it against the signature with the public
        // key from the metadata, using raw RSA so no crypto policy interferes.
        private static void CheckSignature(PEReader pe, byte[] image, MetadataReader md, Results r)
        {
            PEHeaders headers = pe.PEHeaders;
            DirectoryEntry sigDir = headers.CorHeader!.StrongNameSignatureDirectory;
            if (!r.Check(sigDir.Size == 128, $"signature space is 128 bytes (saw {sigDir.Size})")) return;
            if (!headers.TryGetDirectoryOffset(sigDir, out int sigOffset))
            {
                r.Fail("signature directory lies in no section");
                return;
            }
            int optional = headers.PEHeaderStartOffset;
            int checksumOffset = optional + 64;
            int certEntryOffset = optional + (headers.PEHeader!.Magic == PEMagic.PE32 ? 96 : 112) + 4 * 8;
            int headersSize = optional + headers.CoffHeader.SizeOfOptionalHeader + 40 * headers.CoffHeader.NumberOfSections;

            using var sha = IncrementalHash.CreateHash(HashAlgorithmName.SHA1);
            byte[] head = image.AsSpan(0, headersSize).ToArray();
            head.AsSpan(checksumOffset, 4).Clear();
            head.AsSpan(certEntryOffset, 8).Clear();
            sha.AppendData(head);
            foreach (SectionHeader s in headers.SectionHeaders.OrderBy(s => s.PointerToRawData))
            {
                int start = s.PointerToRawData, end = start + s.SizeOfRawData;
                if (sigOffset >= start && sigOffset < end)
                {
                    sha.AppendData(image, start, sigOffset - start);
                    sha.AppendData(image, sigOffset + sigDir.Size, end - sigOffset - sigDir.Size);
                }
                else
                {
                    sha.AppendData(image, start, end - start);
                }
            }
            byte[] digest = sha.GetHashAndReset();

            byte[] publicKey = md.GetBlobBytes(md.GetAssemblyDefinition().PublicKey);
            // 12-byte header, then the key blob: 8-byte BLOBHEADER, "RSA1", bit length, exponent, modulus.
            int bits = BinaryPrimitives.ReadInt32LittleEndian(publicKey.AsSpan(12 + 12));
            uint exponent = BinaryPrimitives.ReadUInt32LittleEndian(publicKey.AsSpan(12 + 16));
            var modulus = new BigInteger(publicKey.AsSpan(12 + 20, bits / 8), isUnsigned: true, isBigEndian: false);
            var signature = new BigInteger(image.AsSpan(sigOffset, sigDir.Size), isUnsigned: true, isBigEndian: false);
            byte[] decoded = BigInteger.ModPow(signature, exponent, modulus).ToByteArray(isUnsigned: true, isBigEndian: true);

            byte[] digestInfo = Convert.FromHexString("3021300906052b0e03021a05000414");
            byte[] expected = new byte[bits / 8];
            expected[1] = 0x01;
            int tail = digestInfo.Length + digest.Length;
            expected.AsSpan(2, expected.Length - 3 - tail).Fill(0xFF);
            digestInfo.CopyTo(expected, expected.Length - tail);
            digest.CopyTo(expected, expected.Length - digest.Length);
            byte[] padded = new byte[bits / 8];
            decoded.CopyTo(padded, padded.Length - decoded.Length);
            r.Check(padded.AsSpan().SequenceEqual(expected), "strong-name signature verifies against the assembly's public key");
        }
    }
}
