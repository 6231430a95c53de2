void f(){}
