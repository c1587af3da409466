# -*- coding: utf-8 -*-
# The controller's side of zr4700_layout: the layout file goes from the controller to the managed
# host's temporary folder (in check mode too, so that the check looks at the file a run would
# send), then the module runs there.

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import os

from ansible.errors import AnsibleAction, AnsibleActionFail, AnsibleError
from ansible.module_utils.common.text.converters import to_text
from ansible.module_utils.parsing.convert_bool import boolean
from ansible.plugins.action import ActionBase


class ActionModule(ActionBase):

    TRANSFERS_FILES = True

    def run(self, tmp=None, task_vars=None):
        result = super(ActionModule, self).run(tmp, task_vars)
        del tmp  # the temporary folder is the connection's own

        module_args = self._task.args.copy()
        source = module_args.get("src")
        try:
            if source is None:
                raise AnsibleActionFail("src is required")
            if not boolean(module_args.get("remote_src", False), strict=False):
                try:
                    local = self._loader.get_real_file(self._find_needle("files", source))
                except AnsibleError as error:
                    raise AnsibleActionFail(to_text(error))
                shell = self._connection._shell
                # The copy keeps the file's name, so that the record of the keyboard says which
                # layout it holds.
                remote = shell.join_path(shell.tmpdir, os.path.basename(local))
                self._transfer_file(local, remote)
                self._fixup_perms2((shell.tmpdir, remote))
                module_args["src"] = remote
            result.update(self._execute_module(module_name="valmora.zr4700.zr4700_layout",
                                               module_args=module_args, task_vars=task_vars))
            # The diff names the layout as the task gave it, not the temporary copy.
            if isinstance(result.get("diff"), dict):
                result["diff"]["after_header"] = source
        except AnsibleAction as error:
            result.update(error.result)
        finally:
            self._remove_tmp_path(self._connection._shell.tmpdir)
        return result
