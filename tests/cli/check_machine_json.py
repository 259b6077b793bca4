#!/usr/bin/env python3
"""Checks `veltrane-cli info --json -` of this machine against what the kernel says.

Usage: check_machine_json.py DOCUMENT   (DOCUMENT "-" reads standard input)
Threads against the online processors, cores against sysfs topology, each
cache the kernel lists against the cache levels, the kernel's CPUID-derived
flags against the feature flags, and today's codename known.
"""
import glob
import os
import sys

from validate_json import load

# Flags the kernel makes up itself, from its own probing, MSRs or other
# flags, rather than reading a CPUID bit: they cannot come from CPUID.
KERNEL_ONLY = {
    "cpuid", "cpuid_fault", "nopl", "rep_good", "tsc_known_freq", "xtopology",
    "tsc_reliable", "nonstop_tsc_s3", "constant_tsc", "art", "arch_perfmon",
    "pebs", "bts", "up", "amd_dcm", "aperfmperf", "rapl", "extd_apicid",
    "acc_power", "k8", "k7", "p3", "p4", "epb", "cpb", "hw_pstate",
    "proc_feedback", "xcompacted", "pti", "intel_ppin", "ssbd", "mba",
    "ibrs", "ibpb", "stibp", "ibrs_enhanced", "zen", "invpcid_single",
    "cat_l3", "cat_l2", "cdp_l3", "cdp_l2", "cqm_llc", "cqm_occup_llc",
    "cqm_mbm_total", "cqm_mbm_local", "flexpriority", "tpr_shadow", "vnmi",
    "ept", "vpid", "ept_ad", "vmmcall", "split_lock_detect", "user_shstk",
    "perfmon_v2", "ring3mwait", "sev_es", "v_spec_ctrl", "ibpb_exit_to_user",
}


def read(path):
    with open(path, encoding="utf-8") as stream:
        return stream.read().strip()


def kernel_flags():
    with open("/proc/cpuinfo", encoding="utf-8") as stream:
        for line in stream:
            if line.startswith("flags"):
                return set(line.split(":", 1)[1].split())
    return set()


def sysfs_cores():
    cores = set()
    for folder in glob.glob("/sys/devices/system/cpu/cpu[0-9]*/topology"):
        cores.add((read(folder + "/physical_package_id"), read(folder + "/core_id")))
    return len(cores)


def sysfs_caches():
    found = set()
    for folder in glob.glob("/sys/devices/system/cpu/cpu0/cache/index[0-9]*"):
        kind = {"Data": "data", "Instruction": "code", "Unified": "unified"}[read(folder + "/type")]
        size = read(folder + "/size")
        found.add((int(read(folder + "/level")), kind, int(size.rstrip("K"))))
    return found


def problems(machine):
    topology = machine["topology"]
    if topology["threads"] != os.cpu_count():
        yield f"threads {topology['threads']}, the kernel has {os.cpu_count()} online"
    cores = sysfs_cores()
    if cores and topology["cores"] != cores:
        yield f"cores {topology['cores']}, sysfs topology has {cores}"
    ours = {(c["level"], c["type"], c["size_kb"]) for c in machine["cache_levels"]["caches"]}
    for cache in sorted(sysfs_caches() - ours):
        yield f"the kernel's cache {cache} is not among the cache levels {sorted(ours)}"
    missing = kernel_flags() - set(machine["feature_flags"]["flags"]) - KERNEL_ONLY
    if missing:
        yield "flags the kernel reads from CPUID but the list lacks: " + " ".join(sorted(missing))
    if machine["processor"]["todays_names"]["codename"] == "Unknow":
        yield "today's codename is Unknow"


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__.strip())
    found = list(problems(load(argv[1])["machine"]))
    for problem in found:
        print(f"check_machine_json: {problem}", file=sys.stderr)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
