// AboutDlg: being written.
