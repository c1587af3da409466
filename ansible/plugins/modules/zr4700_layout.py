#!/usr/bin/python
# -*- coding: utf-8 -*-
# Runs zrwin --json on the managed host and turns its report into the task's result.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
---
module: zr4700_layout
short_description: Program the ZR-4700 keyboard of a host with a layout file
version_added: "2.42.0"
description:
  - Runs C(zrwin --json) on the managed host, which writes a layout file into the ZR-4700
    keyboard attached there and reports the run as one JSON object.
  - After a complete transfer zrwin keeps a record of what the keyboard holds (the digest of the
    image as sent, settings and RFID bytes included, and the keyboard type). Unless I(force) is
    set, nothing is sent when the record shows that the keyboard holds this very image already;
    the task is then unchanged.
  - A failed run fails the task with zrwin's message and the line below it (where and why).
  - In check mode zrwin parses the file, asks the keyboard its type (unless I(keyboard_type) is
    given) and checks that they suit each other, as programming would, but sends nothing; the
    task says whether programming would change the keyboard.
  - In diff mode the task names the digest of the image the record holds before and the digest
    of the image it holds after.
options:
  src:
    description:
      - The layout file, as the desktop programmer saves it.
      - A path on the controller, copied to the managed host for the run; with
        I(remote_src=true) a path on the managed host.
    type: path
    required: true
  remote_src:
    description:
      - I(src) is already on the managed host.
    type: bool
    default: false
  device:
    description:
      - Where zrwin reaches the keyboard (the environment variable C(ZR4700_DEVICE)), for
        example C(/dev/zr4700) or C(unix:/run/zr4700-sim.sock).
      - By default the platform's own device.
    type: str
  keyboard_type:
    description:
      - The keyboard type; the keyboard is then not asked. 0 takes 7/3scan layouts, 1 16scan
        layouts of 56 keys, 2 16scan layouts of 112 keys.
    type: int
    choices: [0, 1, 2]
  force:
    description:
      - Program the keyboard even when its record shows that it holds this layout already.
    type: bool
    default: false
  zrwin:
    description:
      - The path of zrwin on the managed host.
    type: path
    default: zrwin
notes:
  - The record lives in the managed host's state folder (C($XDG_STATE_HOME/zr4700), for root
    C(/var/lib/zr4700)), one file per device address; see zrwin(1).
  - A transfer that fails or stops part-way leaves no record, so the next run programs that
    keyboard again.
author:
  - ZR-4700 programmer team
"""

EXAMPLES = r"""
- name: Program the till's keyboard with the store's layout
  valmora.zr4700.zr4700_layout:
    src: layouts/store-0042.txt

- name: Program a 112-key 16scan keyboard without asking its type, even if it holds the layout
  valmora.zr4700.zr4700_layout:
    src: /srv/layouts/store-0042.txt
    remote_src: true
    keyboard_type: 2
    force: true
"""

RETURN = r"""
status:
  description: zrwin's exit status (0, 1..11 for the engine's results, 130 or 143 for a signal).
  returned: when zrwin reported
  type: int
result:
  description: The engine's result, 0 or 33000..33010; null when a signal stopped the run.
  returned: when zrwin reported
  type: int
message:
  description: The engine's message, for example "Keyboard programming error."; null on success.
  returned: when zrwin reported
  type: str
detail:
  description: The line below the message, where and why; null when there is none.
  returned: when zrwin reported
  type: str
  sample: "/dev/zr4700: error: the keyboard refused byte 100 of 2022"
device:
  description: The device address zrwin used.
  returned: when zrwin reported
  type: str
keyboard_type:
  description: The keyboard type, detected or given; null when the run did not get that far.
  returned: when zrwin reported
  type: int
variant:
  description: What the layout is, for example "16scan, 112 keys".
  returned: when zrwin reported
  type: str
bytes_sent:
  description: The bytes the keyboard took.
  returned: when zrwin reported
  type: int
bytes_total:
  description: The size of the image.
  returned: when zrwin reported
  type: int
seconds:
  description: How long zrwin ran.
  returned: when zrwin reported
  type: float
image_sha256:
  description: The SHA-256 of the image as it was or would be sent.
  returned: when zrwin reported
  type: str
unchanged:
  description: The record showed that the keyboard holds this image already; nothing was sent.
  returned: when zrwin reported
  type: bool
recorded_sha256:
  description: The digest the record held before the run; null when there was no record.
  returned: when zrwin reported
  type: str
record_error:
  description: Why the record could not be kept; the transfer itself is not failed for it.
  returned: when zrwin reported
  type: str
"""

import json

from ansible.module_utils.basic import AnsibleModule

# The fields of zrwin's JSON object that the task returns.
REPORT_FIELDS = (
    "result", "status", "message", "detail", "file", "device", "keyboard_type", "variant",
    "layout_code", "bytes_sent", "bytes_total", "seconds", "image_sha256", "interrupted",
    "unchanged", "record_file", "recorded_sha256", "record_error",
)


def zrwin_command(params, check_mode):
    """The command line: zrwin's own options first, then "--" and the engine's arguments."""
    command = [params["zrwin"], "--json"]
    if check_mode:
        command.append("--check")
    if not params["force"]:
        command.append("--if-changed")
    command += ["--", params["src"]]
    if params["keyboard_type"] is not None:
        command.append("/%d" % params["keyboard_type"])
    return command


def parse_report(stdout):
    """zrwin's JSON object: the last line of its standard output; None when there is none."""
    for line in reversed(stdout.splitlines()):
        line = line.strip()
        if line:
            try:
                report = json.loads(line)
            except ValueError:
                return None
            return report if isinstance(report, dict) else None
    return None


def failure_text(report):
    """The engine's message with the line below it, as zrwin prints them."""
    message = report.get("message") or "zrwin failed"
    detail = report.get("detail")
    return "%s %s" % (message, detail) if detail else message


def task_result(report, src):
    """The task's result from zrwin's report: its fields, changed, and the diff."""
    result = dict((field, report.get(field)) for field in REPORT_FIELDS)
    result["changed"] = report.get("status") == 0 and not report.get("unchanged")
    result["diff"] = {
        "before_header": "%s (record)" % report.get("device"),
        "before": "image_sha256: %s\n" % (report.get("recorded_sha256") or "(no record)"),
        "after_header": src,
        "after": "image_sha256: %s\n" % report.get("image_sha256"),
    }
    return result


def main():
    module = AnsibleModule(
        argument_spec=dict(
            src=dict(type="path", required=True),
            remote_src=dict(type="bool", default=False),
            device=dict(type="str"),
            keyboard_type=dict(type="int", choices=[0, 1, 2]),
            force=dict(type="bool", default=False),
            zrwin=dict(type="path", default="zrwin"),
        ),
        supports_check_mode=True,
    )
    params = module.params
    environment = {}
    if params["device"]:
        environment["ZR4700_DEVICE"] = params["device"]
    command = zrwin_command(params, module.check_mode)
    rc, stdout, stderr = module.run_command(command, environ_update=environment)

    report = parse_report(stdout)
    if report is None:
        module.fail_json(msg="zrwin gave no report (exit status %d): %s" % (rc, stderr.strip()),
                         rc=rc, cmd=command, stdout=stdout, stderr=stderr)
    result = task_result(report, params["src"])
    result["stderr"] = stderr
    if not module._diff:
        del result["diff"]
    if report.get("record_error"):
        module.warn("the record of what the keyboard holds was not kept: %s"
                    % report["record_error"])
    if report.get("status") != 0:
        result.pop("diff", None)
        module.fail_json(msg=failure_text(report), **result)
    module.exit_json(**result)


if __name__ == "__main__":
    main()
