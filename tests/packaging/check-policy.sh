#!/usr/bin/env bash
# check-policy.sh POLICY: the polkit policy is well-formed and every action names what it is for and the
# program pkexec may run for it.
set -uo pipefail
policy=$1
python3 - "$policy" <<'PY'
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
assert root.tag == "policyconfig", root.tag
actions = root.findall("action")
assert actions, "no action"
for a in actions:
    aid = a.get("id")
    assert aid and aid.startswith("com.velmora.KorvanePlayer."), aid
    assert (a.findtext("description") or "").strip(), aid + ": no description"
    messages = a.findall("message")
    assert any(m.get("{http://www.w3.org/XML/1998/namespace}lang") is None and m.text.strip() for m in messages), aid
    paths = [n.text for n in a.findall("annotate") if n.get("key") == "org.freedesktop.policykit.exec.path"]
    assert len(paths) == 1 and paths[0].startswith("@KORVANE_"), aid + ": exec.path"
    d = a.find("defaults")
    assert d is not None and d.findtext("allow_active", "").startswith("auth_admin"), aid + ": defaults"
print("policy: %d actions" % len(actions))
PY
