ServerName=kzserver.example
Port=8080
Queue=Production=A
Comment=last line without its line ending