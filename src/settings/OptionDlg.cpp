// OptionDlg: being written.
