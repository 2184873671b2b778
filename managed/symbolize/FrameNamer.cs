using System;
using System.Collections.Generic;
using System.Globalization;
using System.Linq;
using System.Text.Json.Nodes;

namespace Veskmrte.Symbolize
{
    // Adds names to every frame list of a report, wherever it sits: any object
    // with a "frames" array of {ip, kind, ...} objects.
    internal sealed class FrameNamer
    {
        private readonly Func<JitCodeMap> _codeMap;
        private readonly ManagedNames _managed;
        private readonly NativeNames _native;
        private JitCodeMap? _loadedCodeMap;

        public FrameNamer(Func<JitCodeMap> codeMap, ManagedNames managed, NativeNames native)
        {
            _codeMap = codeMap;
            _managed = managed;
            _native = native;
        }

        public int Frames { get; private set; }
        public int Unnamed { get; private set; }

        public void NameAll(JsonNode? node)
        {
            if (node is JsonArray array)
            {
                foreach (JsonNode? item in array) NameAll(item);
            }
            else if (node is JsonObject obj)
            {
                if (obj["frames"] is JsonArray frames) NameFrames(frames);
                foreach (KeyValuePair<string, JsonNode?> member in obj.ToList())
                    if (member.Key != "frames") NameAll(member.Value);
            }
        }

        private void NameFrames(JsonArray frames)
        {
            for (int index = 0; index < frames.Count; index++)
            {
                if (frames[index] is not JsonObject frame || !TryAddress(frame["ip"], out ulong ip)) continue;
                Frames++;
                // Only the innermost frame is where the walk stood; every other
                // ip is a return address, which may already be past the end of
                // its call's code (a call that never returns ends a body).
                ulong lookup = index > 0 && ip > 0 ? ip - 1 : ip;
                string kind = frame["kind"] is JsonValue k && k.TryGetValue(out string? text) ? text : "";
                if (!(kind != "native" && NameManaged(frame, lookup)) && !NameNative(frame, ip, lookup)) Unnamed++;
            }
        }

        private bool NameManaged(JsonObject frame, ulong lookup)
        {
            _loadedCodeMap ??= _codeMap();
            CodeHit? hit = _loadedCodeMap.Find(lookup);
            if (hit == null) return false;
            ManagedName name = _managed.Name(hit.Value);
            frame["name"] = name.Name;
            if (name.IlOffset.HasValue) frame["ilOffset"] = name.IlOffset.Value;
            if (name.File != null) frame["file"] = name.File;
            if (name.Line.HasValue) frame["line"] = name.Line.Value;
            return true;
        }

        private bool NameNative(JsonObject frame, ulong ip, ulong lookup)
        {
            NativeName? name = _native.Name(lookup);
            if (name == null) return false;
            // The name keeps the ip's own offset, so that it can be handed to
            // other tools as it is; the symbol is that of the call.
            NativeName? exact = lookup == ip ? name : _native.Name(ip);
            frame["name"] = (exact ?? name).Name;
            if (name.Symbol != null) frame["symbol"] = name.Symbol;
            return true;
        }

        // Addresses are hex strings ("0x7f..."), since JSON numbers do not
        // carry 64 bits through every reader; plain numbers are taken too.
        internal static bool TryAddress(JsonNode? node, out ulong address)
        {
            address = 0;
            if (node is not JsonValue value) return false;
            if (value.TryGetValue(out string? text))
            {
                if (text.StartsWith("0x", StringComparison.OrdinalIgnoreCase))
                    return ulong.TryParse(text.AsSpan(2), NumberStyles.AllowHexSpecifier, CultureInfo.InvariantCulture, out address);
                return ulong.TryParse(text, NumberStyles.None, CultureInfo.InvariantCulture, out address);
            }
            return value.TryGetValue(out address);
        }
    }
}
