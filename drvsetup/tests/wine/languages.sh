#!/bin/bash
# The usage box in the Chinese string tables, picked by the user's locale. box_watch reads the
# text in the locale's ANSI code page, which is converted back to UTF-8 here.
. "$(dirname "$0")/common.sh"
install_tool

usage_in() {  # <locale> <code page name>
  LANG=$1 LC_ALL=$1 wine "$BOX_WATCH" --timeout 30000 -- 'C:\tool\SetupOv.exe' -? 2>&1 |
    tr -d '\r' | iconv -f "$2" -t UTF-8
}

PAD='                      '
report=$(usage_in zh_TW.UTF-8 BIG5)
expect_box "$report" " [參數]\\n參數：\\n    -?${PAD}顯示此說明。\\n    -s${PAD}不顯示完成對話方塊。"
expect_line "$report" "exit=2"
report=$(usage_in zh_CN.UTF-8 GBK)
expect_box "$report" " [参数]\\n参数：\\n    -?${PAD}显示此帮助。\\n    -s${PAD}不显示完成对话框。"
expect_line "$report" "exit=2"
finish
